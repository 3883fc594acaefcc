# The program's resources: the window descriptions compiled by the host's
# description_compiler, the error-text string table written by the host's
# error_table_rc, and the pictures under pictures/ (made by
# pictures/make_pictures.py and kept in the repository).
if(NOT LUMBRA_HOST_TOOLS)
  message(FATAL_ERROR "LUMBRA_HOST_TOOLS must name the host build's tools folder")
endif()

set(_windows main_viewer program_setup image_properties about_box zoom file_listing
             colour_sample welcome)
list(TRANSFORM _windows PREPEND ${CMAKE_CURRENT_LIST_DIR}/windows/)
list(TRANSFORM _windows APPEND .window)
set(_descriptions ${CMAKE_CURRENT_BINARY_DIR}/lumbra_rsc.bin)
add_custom_command(
  OUTPUT ${_descriptions}
  COMMAND ${LUMBRA_HOST_TOOLS}/description_compiler -o ${_descriptions} ${_windows}
  DEPENDS ${_windows} ${LUMBRA_HOST_TOOLS}/description_compiler
  COMMENT "Compiling the window descriptions"
  VERBATIM)

set(_error_texts ${CMAKE_CURRENT_BINARY_DIR}/error_texts.rc)
add_custom_command(
  OUTPUT ${_error_texts}
  COMMAND ${LUMBRA_HOST_TOOLS}/error_table_rc ${_error_texts}
  DEPENDS ${LUMBRA_HOST_TOOLS}/error_table_rc
  COMMENT "Writing the error-text string table"
  VERBATIM)

file(GLOB _pictures CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/pictures/*.gif
     ${CMAKE_CURRENT_LIST_DIR}/pictures/*.bmp ${CMAKE_CURRENT_LIST_DIR}/pictures/*.ico)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/lumbra.rc PROPERTIES
  OBJECT_DEPENDS "${_descriptions};${_error_texts};${_pictures}")
list(APPEND LUMBRA_RESOURCES ${CMAKE_CURRENT_LIST_DIR}/lumbra.rc)
