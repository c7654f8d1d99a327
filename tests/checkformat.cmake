# Fails when any C++ file of the project is not as clang-format would write it.
file(GLOB_RECURSE sources RELATIVE ${ROOT}
    ${ROOT}/app/*.cpp ${ROOT}/app/*.h ${ROOT}/data/*.h ${ROOT}/quiz/*.cpp ${ROOT}/quiz/*.h
    ${ROOT}/window/*.cpp ${ROOT}/window/*.h ${ROOT}/win32/*.cpp ${ROOT}/win32/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h
    ${ROOT}/bench/*.cpp ${ROOT}/bench/*.h ${ROOT}/packaging/*.cpp ${ROOT}/page/*.cpp)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
    WORKING_DIRECTORY ${ROOT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "clang-format: the files above need formatting")
endif()
