# The page: a folder of static files that any web server can host, made from a program
# built for WebAssembly. zun_add_site(TARGET PROGRAM FOLDER [ZIP]) adds a target that writes
# FOLDER (and ZIP of it) after PROGRAM is linked.
find_program(ZUN_ZOPFLI zopfli)
find_program(ZUN_GZIP gzip REQUIRED)
find_program(ZUN_BROTLI brotli REQUIRED)
find_program(ZUN_TERSER terser REQUIRED)

function(zun_add_site target program folder)
    # zopfli packs some 5 % tighter than gzip -9, in the same format.
    if(ZUN_ZOPFLI)
        set(gzip "${ZUN_ZOPFLI};--i5;-c")
    else()
        set(gzip "${ZUN_GZIP};-9;-n;-c")
    endif()
    set(zip "${ARGV3}")
    set(caption "${ZUN_SCHOOL_ADDRESS} ЗУН - митология") # the window's, as the page's title
    set(web ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
    add_custom_target(${target} ALL
        COMMAND ${CMAKE_COMMAND}
            -DWEB=${web} -DICONS=${PROJECT_SOURCE_DIR}/window/icons
            -DBINARY=$<TARGET_FILE:${program}> -DUNBROTLI=$<TARGET_FILE:zun-unbrotli>
            -DFOLDER=${folder} -DZIP=${zip}
            "-DCAPTION=${caption}" -DVERSION=${PROJECT_VERSION}
            "-DGZIP=${gzip}" -DBROTLI=${ZUN_BROTLI} -DTERSER=${ZUN_TERSER}
            -P ${web}/make-site.cmake
        DEPENDS ${program} zun-unbrotli
        COMMENT "Writing the page ${folder}"
        VERBATIM)
endfunction()

# The page's own brotli decoder, from Debian's brotli source (ZUN_BROTLI_SOURCE, which
# scripts/build-web fetches): a module with no imports, for the loader alone.
set(ZUN_BROTLI_SOURCE "" CACHE PATH "Debian's brotli source, unpacked")
if(NOT EXISTS "${ZUN_BROTLI_SOURCE}/c/include/brotli/decode.h")
    message(FATAL_ERROR "ZUN_BROTLI_SOURCE: brotli's source folder (scripts/build-web sets it)")
endif()
enable_language(C)
file(GLOB zun_brotli_c ${ZUN_BROTLI_SOURCE}/c/dec/*.c ${ZUN_BROTLI_SOURCE}/c/common/*.c)
add_executable(zun-unbrotli ${CMAKE_CURRENT_LIST_DIR}/unbrotli.cpp ${zun_brotli_c})
target_include_directories(zun-unbrotli PRIVATE ${ZUN_BROTLI_SOURCE}/c/include)
target_link_libraries(zun-unbrotli PRIVATE zun_warnings)
set_source_files_properties(${zun_brotli_c} PROPERTIES COMPILE_OPTIONS "-w") # not ours
set_target_properties(zun-unbrotli PROPERTIES SUFFIX .wasm)
target_compile_options(zun-unbrotli PRIVATE -Oz)
set(zun_unbrotli_exports _zun_input _zun_input_size _zun_output _zun_produced _zun_finished
    _zun_begin _zun_feed _zun_step)
list(JOIN zun_unbrotli_exports "," zun_unbrotli_exports)
target_link_options(zun-unbrotli PRIVATE -Oz --no-entry -sSTANDALONE_WASM -sMALLOC=emmalloc
    -sINITIAL_MEMORY=16777216 -sEXPORTED_FUNCTIONS=${zun_unbrotli_exports})
