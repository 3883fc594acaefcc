if(LUMBRA_CROSS)
  lumbra_test(winrt_menus_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/menus_test.cpp
    LIBS lumbra_winrt lumbra_resources)
endif()
