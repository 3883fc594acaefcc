# The folder dialog driven through its real window (with the program's
# CHOOSEDIR layout linked in).
if(LUMBRA_CROSS)
  lumbra_test(winrt_folder_dialog_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/folder_dialog_test.cpp
    LIBS lumbra_winrt lumbra_resources)
endif()
