# The real program's dialogs driven from outside.
if(LUMBRA_CROSS)
  lumbra_test(app_dialog_behaviour_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/dialog_behaviour_test.cpp)
  add_dependencies(app_dialog_behaviour_test lumbra)
  target_compile_definitions(app_dialog_behaviour_test PRIVATE LUMBRA_PROGRAM="$<TARGET_FILE:lumbra>")
  # Real keys and clicks go to whichever window is in front on the display:
  # no other test's windows may come up meanwhile.
  set_tests_properties(app_dialog_behaviour_test PROPERTIES RUN_SERIAL TRUE)
endif()
