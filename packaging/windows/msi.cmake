# The Windows Installer package, beside the installer and the zip: what Group Policy and
# Intune deploy. wixl builds it from our WiX source, reading its files from one folder.
# wixl takes the Bulgarian strings' code page from WINDOWS_LANGUAGE (without it they come
# out empty) but writes none into the package; msibuild then records it as 1251, so that
# every Windows reads them as Cyrillic, whatever its own code page.
find_program(ZUN_WIXL wixl REQUIRED)
find_program(ZUN_MSIBUILD msibuild REQUIRED)
set(stage ${CMAKE_CURRENT_BINARY_DIR}/msi)
set(msi ${PROJECT_BINARY_DIR}/package/${PROJECT_NAME}-${PROJECT_VERSION}-windows-x64.msi)
configure_file(${CMAKE_CURRENT_LIST_DIR}/zun-mitologia.wxs.in ${stage}/zun-mitologia.wxs @ONLY)
file(WRITE ${stage}/_ForceCodepage.idt "\r\n\r\n1251\t_ForceCodepage\r\n")
add_custom_command(OUTPUT ${msi}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
        ${CMAKE_CURRENT_LIST_DIR}/zun-mitologia.ico ${stage}/zun-mitologia.ico
    COMMAND ${CMAKE_STRIP} -o ${stage}/zun-mitologia.exe $<TARGET_FILE:zun-mitologia>
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/package
    COMMAND ${CMAKE_COMMAND} -E env WINDOWS_LANGUAGE=bg ${ZUN_WIXL} -a x64 -o ${msi} zun-mitologia.wxs
    COMMAND ${CMAKE_COMMAND} -E env WINDOWS_LANGUAGE=bg ${ZUN_MSIBUILD} ${msi} -i _ForceCodepage.idt
    DEPENDS zun-mitologia ${stage}/zun-mitologia.wxs ${CMAKE_CURRENT_LIST_DIR}/zun-mitologia.ico
    WORKING_DIRECTORY ${stage}
    COMMENT "Writing the Windows Installer package"
    VERBATIM)
add_custom_target(zun_msi DEPENDS ${msi})
