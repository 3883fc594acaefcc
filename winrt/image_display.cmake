# Windows keep palettes, paint images and reach the clipboard through the
# image display; the window's palette messages are answered here.
list(APPEND WIN32_SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_palette_messages_win32.cpp)
list(APPEND LIBRARIES lumbra_display)
