# Names the page's build after its files' contents and the form table, then writes its
# window: the page asks for every file under that name, so no browser cache can hand it
# one file of an older upload beside the newer ones. Then the service worker, which lists
# every file with its SHA-256, and the zip.
# The scripts with their comments and long names gone: a third of their size, for hosts that
# send them uncompressed. Debian's terser finds its modules where Debian keeps them.
# The page's scripts go out as one, in one function of their own: on a host of HTTP/1.1 a
# browser opens six connections, and a seventh file would wait a round trip, half a second
# on mobile data.
set(scripts zun-listbox.js zun-core.js zun-page.js zun-scorm.js)
list(TRANSFORM scripts PREPEND ${SITE}/)
execute_process(COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs
    ${TERSER} ${scripts} --enclose --compress passes=2 --mangle --ecma 2020
    -o ${SITE}/zun-page.js COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs
    ${TERSER} ${SITE}/zun-viewport.js --compress passes=2 --mangle --ecma 2020
    -o ${SITE}/zun-viewport.js COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${SITE}/zun-listbox.js ${SITE}/zun-core.js ${SITE}/zun-scorm.js)
set(templates index.html.in make-page.mjs sw.js.in)

# digest(VAR SEED): the version and twelve hex digits of SEED and every file's name and
# contents but the templates and the host's notes, sorted; FILES gets each file by the
# address the page asks for, with its SHA-256, for the service worker to check what the
# host sent: all but the home screen's icons, which the browser fetches itself when the page
# is added there (12 kB more of a first visit otherwise).
function(digest var seed)
    file(GLOB names RELATIVE ${SITE} ${SITE}/*)
    list(REMOVE_ITEM names ${templates})
    list(FILTER names EXCLUDE REGEX "\\.txt$")
    list(SORT names)
    set(digest ${seed})
    set(kept)
    foreach(name IN LISTS names)
        file(SHA256 ${SITE}/${name} sum)
        string(APPEND digest ${name}${sum})
        if(name STREQUAL "index.html")
            set(name ./)
        elseif(name MATCHES "\\.(js|css|wasm|woff2)$" AND DEFINED build)
            string(APPEND name "?v=${build}")
        endif()
        if(NOT name MATCHES "^icon-[0-9]+\\.png$")
            list(APPEND kept "['${name}', '${sum}']")
        endif()
    endforeach()
    string(SHA256 digest "${digest}")
    string(SUBSTRING ${digest} 0 12 digest)
    set(${var} ${VERSION}-${digest} PARENT_SCOPE)
    list(JOIN kept ",\n  " kept)
    set(FILES "${kept}" PARENT_SCOPE)
endfunction()

file(SHA256 ${FORM} form)
digest(build ${form})
execute_process(COMMAND ${NODE} ${SITE}/make-page.mjs ${FORM} ${SITE} ${build} ${SCHOOL}
    COMMAND_ERROR_IS_FATAL ANY)

# The service worker's cache is named after every file's contents: any change is an update.
digest(ZUN_SITE_VERSION ${VERSION})
set(ZUN_SITE_FILES "${FILES}")
configure_file(${SITE}/sw.js.in ${SITE}/sw.js @ONLY)
file(REMOVE ${SITE}/index.html.in ${SITE}/make-page.mjs ${SITE}/sw.js.in)

file(GLOB files RELATIVE ${SITE} ${SITE}/*)
list(SORT files)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip -- ${files}
    WORKING_DIRECTORY ${SITE} COMMAND_ERROR_IS_FATAL ANY)
