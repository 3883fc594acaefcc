# Windows and their event loop, native controls, image controls and
# wallpapers, units, and the runtime's dialogs.
list(APPEND PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/units.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialogs.cpp)
list(APPEND WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/window_runtime_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_controls_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_statements_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_keys_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_background_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_placement_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_control_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wallpaper_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_from_description.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialogs_win32.cpp)
list(APPEND LIBRARIES lumbra_codecs)
if(LUMBRA_CROSS)
  list(APPEND LIBRARIES comctl32 comdlg32 shell32)
endif()
