# The colour collector, its reduction and the 8-bit conversion (portable).
lumbra_test(display_colour_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/colour_reduction_test.cpp
  LIBS lumbra_display)
