lumbra_test(window_description_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_description_test.cpp
  LIBS lumbra_winrt)
