lumbra_test(winrt_popup_menu_text_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/popup_menu_text_test.cpp
  LIBS lumbra_winrt)
