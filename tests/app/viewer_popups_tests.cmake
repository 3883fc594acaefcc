lumbra_test(app_viewer_popups_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/viewer_popups_test.cpp
  LIBS lumbra_viewer lumbra_winrt)
