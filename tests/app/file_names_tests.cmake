# Files named in any script, listed and shown by the real program.
if(LUMBRA_CROSS)
  lumbra_test(app_file_names_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_names_test.cpp
    LIBS comctl32)
  add_dependencies(app_file_names_test lumbra)
  target_compile_definitions(app_file_names_test PRIVATE LUMBRA_PROGRAM="$<TARGET_FILE:lumbra>")
  # It reads the screen and sends real keys: no other test of the display may
  # type or open windows meanwhile.
  set_tests_properties(app_file_names_test PROPERTIES RESOURCE_LOCK clipboard)
endif()
