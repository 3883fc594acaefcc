# lumbra_test(NAME SOURCES src... LIBS lib...)
# One GoogleTest executable, registered with CTest as one test. In the cross
# build CTest runs it through Wine (the cross-compiling emulator). Each test
# runs in its own temporary working folder, so tests can run in parallel.
find_package(Threads REQUIRED)
if(LUMBRA_CROSS)
  # GoogleTest built from Debian's sources with the MinGW compiler.
  if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  endif()
  set(LUMBRA_GTEST gtest gtest_main)
else()
  find_package(GTest REQUIRED)
  set(LUMBRA_GTEST GTest::gtest GTest::gtest_main)
endif()

function(lumbra_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${LUMBRA_GTEST} Threads::Threads)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/work/${name})
  file(MAKE_DIRECTORY ${work})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${work})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()
