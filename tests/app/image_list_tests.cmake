# The image list and ShowImage: their portable rules in both builds, and
# the list built from real folders and shown in the real main window.
lumbra_test(app_image_rules_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/image_rules_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/popup_marks_test.cpp
  LIBS lumbra_viewer)
if(LUMBRA_CROSS)
  lumbra_test(app_image_list_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/image_list_test.cpp
    LIBS lumbra_viewer lumbra_winrt lumbra_display lumbra_codecs lumbra_resources)
  # Its windows bear the names of the real program's (Program Setup and the
  # rest), which the tests driving that program look for by name.
  set_tests_properties(app_image_list_test PROPERTIES RESOURCE_LOCK clipboard)
endif()
# The listing benchmark runs under Wine, so it is built with the cross trees.
if(LUMBRA_CROSS)
  add_executable(image_list_bench ${PROJECT_SOURCE_DIR}/bench/image_list_bench.cpp)
  target_link_libraries(image_list_bench PRIVATE lumbra_viewer)
  set_target_properties(image_list_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endif()
