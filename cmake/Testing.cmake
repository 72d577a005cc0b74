# Test programs are Windows executables; CTest runs them under wine64 through
# tools/wine-run.sh (the suite's prefix and display, see tools/test.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# orvanta_add_test(NAME SOURCES... [LIBS libs...] [RC files...] [ARGS args...] [OWN_MAIN])
# A console test program linked statically, registered with CTest.
function(orvanta_add_test name)
  cmake_parse_arguments(T "OWN_MAIN" "" "SOURCES;LIBS;RC;ARGS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_RC})
  target_link_libraries(${name} PRIVATE ${T_LIBS} classlib orvanta_options gtest)
  if(NOT T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE gtest_main)
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/support)
  if(T_RC)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/res)
  endif()
  add_test(NAME ${name} COMMAND ${name} ${T_ARGS} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
