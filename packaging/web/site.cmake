# The page: a folder of static files that any web server can host, made from a program
# built for WebAssembly. zun_add_site(TARGET PROGRAM FOLDER [ZIP]) adds a target that writes
# FOLDER (and ZIP of it) after PROGRAM is linked.
function(zun_add_site target program folder)
    set(zip "${ARGV3}")
    set(caption "${ZUN_SCHOOL_ADDRESS} ЗУН - митология") # the window's, as the page's title
    set(web ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
    add_custom_target(${target} ALL
        COMMAND ${CMAKE_COMMAND}
            -DWEB=${web} -DICONS=${PROJECT_SOURCE_DIR}/window/icons
            -DBINARY=$<TARGET_FILE:${program}> -DFOLDER=${folder} -DZIP=${zip}
            "-DCAPTION=${caption}" -DVERSION=${PROJECT_VERSION}
            -P ${web}/make-site.cmake
        DEPENDS ${program}
        COMMENT "Writing the page ${folder}"
        VERBATIM)
endfunction()
