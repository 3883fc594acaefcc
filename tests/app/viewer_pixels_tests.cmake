# Every window of the real program as the screen shows it.
if(LUMBRA_CROSS)
  lumbra_test(app_viewer_pixels_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/viewer_pixels_test.cpp
    LIBS lumbra_core comctl32)
  add_dependencies(app_viewer_pixels_test lumbra)
  target_compile_definitions(app_viewer_pixels_test PRIVATE LUMBRA_PROGRAM="$<TARGET_FILE:lumbra>"
    LUMBRA_PICTURES="${PROJECT_SOURCE_DIR}/resources/pictures")
  # It reads the screen: no other program's window may lie over the ones it
  # looks at.
  set_tests_properties(app_viewer_pixels_test PROPERTIES RUN_SERIAL TRUE)
endif()
