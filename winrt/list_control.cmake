# List controls: the format parser, the column layout and the row cells
# (portable), and the native "WexList" control.
list(APPEND PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/list_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_cells.cpp)
list(APPEND WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/list_control_win32.cpp)
