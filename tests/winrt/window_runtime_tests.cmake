lumbra_test(winrt_units_dialogs_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/units_dialogs_test.cpp
  LIBS lumbra_winrt)
if(LUMBRA_CROSS)
  lumbra_test(winrt_window_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_runtime_test.cpp
    LIBS lumbra_winrt)
endif()
if(LUMBRA_CROSS)
  lumbra_test(winrt_main_window_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_window_description_test.cpp
    LIBS lumbra_winrt lumbra_resources)
endif()
if(LUMBRA_CROSS)
  lumbra_test(winrt_window_display_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_display_test.cpp
    LIBS lumbra_winrt)
  # The clipboard is one for every program on the display.
  set_tests_properties(winrt_window_display_test PROPERTIES RESOURCE_LOCK clipboard)
endif()
