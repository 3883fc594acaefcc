# The sample images, read back: in the host build as the tool writes them,
# in the Windows build from the folder beside lumbra.exe (with the help
# page that stands there too).
if(LUMBRA_CROSS)
  lumbra_test(sample_images_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tools/sample_images_test.cpp
    LIBS lumbra_codecs)
  add_dependencies(sample_images_test lumbra_samples lumbra_help_page)
  target_compile_definitions(sample_images_test PRIVATE
    LUMBRA_SAMPLES="${CMAKE_BINARY_DIR}/samples" LUMBRA_HELP_PAGE="${CMAKE_BINARY_DIR}/lbhelp.htm")
else()
  lumbra_test(sample_images_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tools/sample_images_test.cpp
    LIBS lumbra_codecs)
  add_dependencies(sample_images_test sample_images)
  target_compile_definitions(sample_images_test PRIVATE
    LUMBRA_SAMPLE_TOOL="$<TARGET_FILE:sample_images>")
endif()
