# Fails when a C++ source of the project is not formatted with .clang-format.
file(GLOB_RECURSE sources
  ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp
  ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/tests/*.cpp
  ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/fuzz/*.cpp)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${sources}
                RESULT_VARIABLE result ERROR_VARIABLE problems)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Not formatted:\n${problems}")
endif()
