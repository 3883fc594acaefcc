# The real program's main window driven from outside.
if(LUMBRA_CROSS)
  lumbra_test(app_main_window_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp
    LIBS comctl32)
  add_dependencies(app_main_window_test lumbra)
  target_compile_definitions(app_main_window_test PRIVATE LUMBRA_PROGRAM="$<TARGET_FILE:lumbra>")
  # The clipboard is one for every program on the display.
  set_tests_properties(app_main_window_test PROPERTIES RESOURCE_LOCK clipboard)
endif()
# The real program along a user's journeys, its dialogs the real ones.
if(LUMBRA_CROSS)
  lumbra_test(app_viewer_journeys_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/viewer_journeys_test.cpp LIBS lumbra_viewer)
  add_dependencies(app_viewer_journeys_test lumbra)
  target_compile_definitions(app_viewer_journeys_test PRIVATE LUMBRA_PROGRAM="$<TARGET_FILE:lumbra>")
  # Real keys, the focus, the shared prefix's file associations and the
  # clipboard are one for every program on the display.
  set_tests_properties(app_viewer_journeys_test PROPERTIES TIMEOUT 600 RESOURCE_LOCK clipboard)
endif()
