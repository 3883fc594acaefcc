# The help page, lbhelp.htm, beside lumbra.exe, where Help opens it.
set(_help ${CMAKE_BINARY_DIR}/lbhelp.htm)
add_custom_command(
  OUTPUT ${_help}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/lbhelp.htm ${_help}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/lbhelp.htm
  COMMENT "Copying the help page"
  VERBATIM)
add_custom_target(lumbra_help_page ALL DEPENDS ${_help})
