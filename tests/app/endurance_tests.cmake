# The endurance run: the real program stepped 10,000 times over 1,000 files
# it writes at run time. It owns the screen for its final pixel check, so it
# runs alone; it takes a few minutes.
if(LUMBRA_CROSS)
  set(_si ${PROJECT_SOURCE_DIR}/tools/sample_images)
  lumbra_test(app_endurance_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/endurance_test.cpp
    ${_si}/sample_pictures.cpp ${_si}/sample_files.cpp
    LIBS lumbra_codecs JPEG::JPEG psapi)
  add_dependencies(app_endurance_test lumbra)
  target_compile_definitions(app_endurance_test PRIVATE LUMBRA_PROGRAM="$<TARGET_FILE:lumbra>")
  set_tests_properties(app_endurance_test PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)
endif()
