# The window-description compiler and the viewer's window sources (host:
# the compiler is a host tool).
if(NOT LUMBRA_CROSS)
  lumbra_test(description_compiler_test
    SOURCES ${PROJECT_SOURCE_DIR}/tests/tools/description_compiler_test.cpp
            ${PROJECT_SOURCE_DIR}/tests/tools/viewer_windows_source_test.cpp
    LIBS lumbra_description_compiler)
  target_compile_definitions(description_compiler_test PRIVATE
    LUMBRA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endif()
