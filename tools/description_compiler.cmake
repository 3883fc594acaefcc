# The window-description compiler and the error-text string-table writer:
# host tools that the cross build runs to make the program's resources.
if(NOT LUMBRA_CROSS)
  set(_dc ${CMAKE_CURRENT_LIST_DIR}/description_compiler)
  add_library(lumbra_description_compiler STATIC
    ${_dc}/description_source.cpp
    ${_dc}/description_writer.cpp)
  target_link_libraries(lumbra_description_compiler PUBLIC lumbra_winrt)
  add_executable(description_compiler ${_dc}/main.cpp)
  target_link_libraries(description_compiler PRIVATE lumbra_description_compiler)
  add_executable(error_table_rc ${_dc}/error_table_rc.cpp)
  target_link_libraries(error_table_rc PRIVATE lumbra_core)
endif()
