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
    ENVIRONMENT "GTEST_FILTER=*TrueColour*" RESOURCE_LOCK clipboard)
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

# The clipboard read back in the process, and by xclip on the X side.
if(LUMBRA_CROSS)
  lumbra_test(display_clipboard_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/clipboard_test.cpp
    LIBS lumbra_winrt)
  set_tests_properties(display_clipboard_test PROPERTIES
    ENVIRONMENT "GTEST_FILTER=-XClipboard.*" RESOURCE_LOCK clipboard)
  add_test(NAME display_clipboard_xclip_test
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/xclip_paste.sh
            ${LUMBRA_WINE} $<TARGET_FILE:display_clipboard_test>
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/work/display_clipboard_test)
  set_tests_properties(display_clipboard_xclip_test PROPERTIES TIMEOUT 300 RESOURCE_LOCK clipboard)
endif()

# Not a test: the paint path against a bare StretchDIBits, run by hand
# under Wine (a benchmark of the cross build).
if(LUMBRA_CROSS)
  add_executable(display_paint_bench ${PROJECT_SOURCE_DIR}/bench/display_paint_bench.cpp)
  target_link_libraries(display_paint_bench PRIVATE lumbra_display)
endif()
