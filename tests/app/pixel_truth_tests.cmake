# Pixel truth: the real program's screen against reference decodes that
# ImageMagick makes, for the sample images, the suites' own images and
# files ImageMagick writes. The wrapper writes the files and references,
# then runs the driver under Wine.
if(LUMBRA_CROSS)
  add_executable(app_pixel_truth_test ${CMAKE_CURRENT_LIST_DIR}/pixel_truth_test.cpp)
  # The driver has its own main, which also writes the suites' images.
  list(GET LUMBRA_GTEST 0 _gtest)
  target_link_libraries(app_pixel_truth_test PRIVATE comctl32 ${_gtest} Threads::Threads)
  add_dependencies(app_pixel_truth_test lumbra lumbra_samples)
  target_compile_definitions(app_pixel_truth_test PRIVATE LUMBRA_PROGRAM="$<TARGET_FILE:lumbra>")
  set(_work ${CMAKE_CURRENT_BINARY_DIR}/work/app_pixel_truth_test)
  file(MAKE_DIRECTORY ${_work})
  add_test(NAME app_pixel_truth_test
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/pixel_truth.sh ${LUMBRA_WINE}
            $<TARGET_FILE:app_pixel_truth_test> ${CMAKE_BINARY_DIR}/samples
    WORKING_DIRECTORY ${_work})
  # It reads the screen under a window kept on top of the others, and steps
  # with real keys: the tests that type or pop up windows wait meanwhile.
  set_tests_properties(app_pixel_truth_test PROPERTIES TIMEOUT 900 RESOURCE_LOCK clipboard)
endif()
