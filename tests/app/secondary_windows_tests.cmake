if(LUMBRA_CROSS)
  lumbra_test(app_secondary_windows_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/secondary_windows_test.cpp
    LIBS lumbra_viewer lumbra_winrt lumbra_display lumbra_codecs lumbra_core lumbra_resources)
endif()
