lumbra_test(winrt_list_format_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/list_format_test.cpp
  LIBS lumbra_winrt)
if(LUMBRA_CROSS)
  lumbra_test(winrt_list_control_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/list_control_test.cpp
    LIBS lumbra_winrt lumbra_resources)
endif()
