# The Windows installer (NSIS, from our own template: Bulgarian pages, per-user or
# per-machine, silent with /S) and a portable zip that holds the .exe alone.
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "${ZUN_SCHOOL_NAME}")
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-windows-x64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "ЗУН - митология")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${PROJECT_NAME})
set(CPACK_STRIP_FILES ON)
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}) # NSIS.template.in
set(CPACK_NSIS_EXECUTABLE_PRE_ARGUMENTS -INPUTCHARSET UTF8)
set(CPACK_NSIS_DISPLAY_NAME "ЗУН - митология")
set(CPACK_NSIS_PACKAGE_NAME "ЗУН - митология")
set(CPACK_NSIS_URL_INFO_ABOUT https://${ZUN_SCHOOL_ADDRESS}/)
set(CPACK_ZUN_ICON ${CMAKE_CURRENT_LIST_DIR}/zun-mitologia.ico)
include(CPack)
