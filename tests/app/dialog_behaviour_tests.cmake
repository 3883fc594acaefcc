# The real program's dialogs driven from outside.
if(LUMBRA_CROSS)
  lumbra_test(app_dialog_behaviour_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/dialog_behaviour_test.cpp)
  add_dependencies(app_dialog_behaviour_test lumbra)
  target_compile_definitions(app_dialog_behaviour_test PRIVATE LUMBRA_PROGRAM="$<TARGET_FILE:lumbra>")
  # Real keys and clicks go to whichever window is in front on the display:
  # this test and the main window's, which types too, take turns.
  set_tests_properties(app_dialog_behaviour_test PROPERTIES RESOURCE_LOCK clipboard)
endif()
