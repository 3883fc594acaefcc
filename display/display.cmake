# The image display: the colour collector and its reduction, the 8-bit
# conversion and the colours images give their window palettes (portable);
# painting, window palettes and the clipboard (Win32).
list(APPEND PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/colour_collector.cpp
  ${CMAKE_CURRENT_LIST_DIR}/eight_bit_conversion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_colours.cpp)
list(APPEND LIBRARIES lumbra_codecs)
if(LUMBRA_CROSS)
  list(APPEND WIN32_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/bitmap_paint_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clipboard_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dib_paint_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gif_paint_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/icon_paint_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_control_paint_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/metafile_paint_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tile_paint_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wallpaper_paint_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_palette_win32.cpp)
  list(APPEND LIBRARIES gdi32 user32)
else()
  list(APPEND PORTABLE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/image_paint_host.cpp)
endif()
