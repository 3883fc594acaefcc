if(LUMBRA_CROSS)
  lumbra_test(winrt_menus_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/menus_test.cpp
    LIBS lumbra_winrt lumbra_resources)
  # Real keyboard and mouse input goes to the foreground window: no other
  # test's windows may take it meanwhile.
  set_tests_properties(winrt_menus_test PROPERTIES RUN_SERIAL TRUE)
endif()
