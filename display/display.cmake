# The image display: the colour collector and its reduction, the 8-bit
# conversion and the colours images give their window palettes (portable);
# painting, window palettes and the clipboard (Win32).
list(APPEND PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/colour_collector.cpp
  ${CMAKE_CURRENT_LIST_DIR}/eight_bit_conversion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_colours.cpp)
list(APPEND LIBRARIES lumbra_codecs)
