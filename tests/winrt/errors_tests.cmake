lumbra_test(winrt_errors_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/runtime_errors_test.cpp
  LIBS lumbra_winrt)

if(LUMBRA_CROSS)
  # A child program that faults on request, for the fault report test.
  add_executable(winrt_fault_child ${CMAKE_CURRENT_LIST_DIR}/fault_child.cpp)
  target_link_libraries(winrt_fault_child PRIVATE lumbra_winrt)
  lumbra_test(winrt_fault_report_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/fault_report_test.cpp
    LIBS lumbra_winrt)
  add_dependencies(winrt_fault_report_test winrt_fault_child)
endif()
