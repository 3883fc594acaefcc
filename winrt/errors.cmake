# Runtime errors, the fault report and the trace log; event codes and key
# codes shared by the window runtime.
list(APPEND PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/event_codes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fault_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/runtime_errors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/trace_log.cpp)
list(APPEND WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/fault_report_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/runtime_errors_win32.cpp)
