# The program's resources read back under Windows, from this test program
# (linked with the same resources) and from lumbra.exe.
if(LUMBRA_CROSS)
  lumbra_test(window_description_resources_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_description_resources_test.cpp
    LIBS lumbra_winrt lumbra_resources)
  target_compile_definitions(window_description_resources_test PRIVATE
    LUMBRA_PROGRAM="$<TARGET_FILE:lumbra>")
  add_dependencies(window_description_resources_test lumbra)
endif()
