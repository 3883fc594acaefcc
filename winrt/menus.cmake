# Menus: the popup-menu text parser (portable), window menu bars, the tool
# bar, tooltips and popup menus on Win32.
list(APPEND PORTABLE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/popup_menu_text.cpp)
list(APPEND WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/menu_bar_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tool_bar_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tooltips_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/popup_menu_win32.cpp)
