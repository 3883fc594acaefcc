# Window descriptions: the portable reader, and where descriptions come from
# (the process's modules on Windows, nothing on the host).
list(APPEND PORTABLE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_description.cpp)
list(APPEND WIN32_SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_description_win32.cpp)
if(NOT LUMBRA_CROSS)
  list(APPEND PORTABLE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_description_host.cpp)
endif()
