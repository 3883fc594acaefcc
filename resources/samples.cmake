# The sample images beside lumbra.exe, in samples/: written by the host's
# sample_images tool whenever the tool changes.
set(_stamp ${CMAKE_CURRENT_BINARY_DIR}/samples.stamp)
add_custom_command(
  OUTPUT ${_stamp}
  COMMAND ${LUMBRA_HOST_TOOLS}/sample_images ${CMAKE_BINARY_DIR}/samples
  COMMAND ${CMAKE_COMMAND} -E touch ${_stamp}
  DEPENDS ${LUMBRA_HOST_TOOLS}/sample_images
  COMMENT "Writing the sample images"
  VERBATIM)
add_custom_target(lumbra_samples ALL DEPENDS ${_stamp})
