# The colour-sample panel's names and the "Sample..." window, on the real
# window descriptions.
if(LUMBRA_CROSS)
  lumbra_test(app_colour_sample_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/colour_sample_test.cpp
    LIBS lumbra_viewer lumbra_winrt lumbra_resources)
endif()
