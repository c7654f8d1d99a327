# Writes the page's folder (run by the zun_add_site target): the program's .js and packed
# .wasm with its decoder, our loader, the service worker and manifest, the icons, and
# index.html; then the zip.
get_filename_component(bin ${BINARY} DIRECTORY)
get_filename_component(ZUN_PROGRAM ${BINARY} NAME_WE)
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
file(COPY ${WEB}/zun-loader.js ${WEB}/zun-viewport.js ${WEB}/page.css ${WEB}/manifest.webmanifest ${WEB}/icon-192.png
    ${WEB}/icon-512.png ${WEB}/htaccess.txt
    DESTINATION ${FOLDER})
# The program's JavaScript with its names shortened: 56 % of its size, for hosts that send it
# uncompressed. Debian's terser finds its modules where Debian keeps them.
execute_process(COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs
    ${TERSER} ${bin}/${ZUN_PROGRAM}.js --compress passes=2 --mangle --ecma 2018
    -o ${FOLDER}/${ZUN_PROGRAM}.js COMMAND_ERROR_IS_FATAL ANY)
file(COPY_FILE ${ICONS}/zun-mitologia.svg ${FOLDER}/icon.svg)
file(COPY_FILE ${ICONS}/zun-mitologia.png ${FOLDER}/icon-32.png)

# The program packed with brotli, which the loader unpacks with its own decoder; that comes
# packed with gzip, which browsers unpack, and plain for those that cannot.
set(wasm ${bin}/${ZUN_PROGRAM}.wasm)
execute_process(COMMAND ${BROTLI} -q 11 -c ${wasm} OUTPUT_FILE ${FOLDER}/${ZUN_PROGRAM}.wasm.br
    COMMAND_ERROR_IS_FATAL ANY)
file(COPY_FILE ${UNBROTLI} ${FOLDER}/zun-unbrotli.wasm)
execute_process(COMMAND ${GZIP} ${UNBROTLI} OUTPUT_FILE ${FOLDER}/zun-unbrotli.wasm.gz
    COMMAND_ERROR_IS_FATAL ANY)
# The loader counts its progress against the size of what arrives.
file(SIZE ${wasm} ZUN_WASM_BYTES)
file(SIZE ${FOLDER}/${ZUN_PROGRAM}.wasm.br ZUN_PACKED_BYTES)

# site_digest(VAR): the version and twelve hex digits of every file's name and contents so
# far, sorted; FILES gets what the service worker keeps, each with its SHA-256 for the worker
# to check what the host sent: what the loader fetches, the packed program and both forms of
# its decoder (the worker keeps the one its browser uses), each by the address the page asks
# for, so that the worker's copy is the one the browser just fetched, not a second download.
function(site_digest var)
    file(GLOB names RELATIVE ${FOLDER} ${FOLDER}/*)
    list(FILTER names EXCLUDE REGEX "\\.txt$")
    list(SORT names)
    set(digest ${VERSION})
    set(kept)
    foreach(name IN LISTS names)
        file(SHA256 ${FOLDER}/${name} sum)
        string(APPEND digest ${name}${sum})
        if(name STREQUAL "index.html")
            set(name ./)
        elseif(name MATCHES "\\.(js|css|wasm|gz|br)$" AND DEFINED ZUN_BUILD)
            string(APPEND name "?v=${ZUN_BUILD}")
        endif()
        list(APPEND kept "['${name}', '${sum}']")
    endforeach()
    string(SHA256 digest "${digest}")
    string(SUBSTRING ${digest} 0 12 digest)
    set(${var} ${VERSION}-${digest} PARENT_SCOPE)
    list(JOIN kept ",\n  " kept)
    set(FILES "${kept}" PARENT_SCOPE)
endfunction()

# The page asks for its files under their build's name, so that a browser's cache cannot
# hand it one file of an older upload beside the newer ones.
site_digest(ZUN_BUILD)
set(ZUN_CAPTION ${CAPTION})
configure_file(${WEB}/index.html.in ${FOLDER}/index.html @ONLY)

# The service worker's cache is named after every file's contents: any change is an update.
site_digest(ZUN_SITE_VERSION)
set(ZUN_SITE_FILES "${FILES}")
configure_file(${WEB}/sw.js.in ${FOLDER}/sw.js @ONLY)

if(ZIP)
    file(GLOB files RELATIVE ${FOLDER} ${FOLDER}/*)
    list(SORT files)
    file(REMOVE ${ZIP})
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip -- ${files}
        WORKING_DIRECTORY ${FOLDER} COMMAND_ERROR_IS_FATAL ANY)
endif()
