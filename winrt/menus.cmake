# Menus: the popup-menu text parser (portable), window menu bars, the tool
# bar, tooltips and popup menus on Win32.
list(APPEND PORTABLE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/popup_menu_text.cpp)
