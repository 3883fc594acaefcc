# The run check: the built program started, moved, sized, maximised and
# closed under Wine by a test that drives its real windows.
if(LUMBRA_CROSS)
  lumbra_test(app_run_check_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/run_check_test.cpp)
  add_dependencies(app_run_check_test lumbra)
  target_compile_definitions(app_run_check_test PRIVATE LUMBRA_PROGRAM="$<TARGET_FILE:lumbra>")
endif()
