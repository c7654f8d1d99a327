# The page: a folder of static files that any web server can host, made from a program
# built for WebAssembly. zun_add_site(TARGET PROGRAM FOLDER [ZIP]) adds a target that writes
# FOLDER (and ZIP of it) after PROGRAM is linked.
find_program(ZUN_ZOPFLI zopfli)
find_program(ZUN_GZIP gzip REQUIRED)
find_program(ZUN_BROTLI brotli REQUIRED)

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
            -DBINARY=$<TARGET_FILE:${program}> -DFOLDER=${folder} -DZIP=${zip}
            "-DCAPTION=${caption}" -DVERSION=${PROJECT_VERSION}
            "-DGZIP=${gzip}" -DBROTLI=${ZUN_BROTLI}
            -P ${web}/make-site.cmake
        DEPENDS ${program}
        COMMENT "Writing the page ${folder}"
        VERBATIM)
endfunction()
