# The colour collector, its reduction and the 8-bit conversion (portable).
lumbra_test(display_colour_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/colour_reduction_test.cpp
  LIBS lumbra_display)

# Window palettes under Wine: on the tests' own true-colour display, and on
# an 8-bit display that the wrapper starts for the test alone.
if(LUMBRA_CROSS)
  lumbra_test(display_window_palette_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_palette_test.cpp
    LIBS lumbra_winrt)
  set_tests_properties(display_window_palette_test PROPERTIES
    ENVIRONMENT "GTEST_FILTER=*TrueColour*")
  add_test(NAME display_window_palette_8bit_test
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/on_palette_display.sh
            ${LUMBRA_WINE} $<TARGET_FILE:display_window_palette_test>
            --gtest_filter=*PaletteDisplay*
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/work/display_window_palette_test)
  set_tests_properties(display_window_palette_8bit_test PROPERTIES TIMEOUT 300)
endif()

# Painting in every mode and image controls (Win32).
if(LUMBRA_CROSS)
  lumbra_test(display_painting_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/image_painting_test.cpp
    LIBS lumbra_winrt)
endif()
