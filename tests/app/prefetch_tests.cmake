# Stepping through images decoded ahead, in the real program driven from
# outside.
if(LUMBRA_CROSS)
  lumbra_test(app_prefetch_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/prefetch_test.cpp
    LIBS comctl32 JPEG::JPEG)
  add_dependencies(app_prefetch_test lumbra)
  target_compile_definitions(app_prefetch_test PRIVATE LUMBRA_PROGRAM="$<TARGET_FILE:lumbra>")
  # The clipboard is one for every program on the display.
  set_tests_properties(app_prefetch_test PROPERTIES RESOURCE_LOCK clipboard)
endif()
