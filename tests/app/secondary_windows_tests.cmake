if(LUMBRA_CROSS)
  lumbra_test(app_secondary_windows_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/secondary_windows_test.cpp
    LIBS lumbra_viewer lumbra_winrt lumbra_display lumbra_codecs lumbra_core lumbra_resources)
  # The clipboard is one for every program on the display.
  set_tests_properties(app_secondary_windows_test PROPERTIES RESOURCE_LOCK clipboard)
endif()
