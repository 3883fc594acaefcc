# Icon, cursor and program file checks (portable), and hostile files of
# every format through the platform's load, paint and copy (Windows only).
lumbra_test(codecs_icon_check_test SOURCES icon_file_check_test.cpp LIBS lumbra_codecs)
if(LUMBRA_CROSS)
  lumbra_test(codecs_hostile_files_test SOURCES hostile_files_test.cpp LIBS lumbra_image_stage)
  # The regression files kept from the mutation runs, beside the test.
  file(GLOB _hostile CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/data/hostile/*)
  file(COPY ${_hostile} DESTINATION ${CMAKE_CURRENT_BINARY_DIR}/work/codecs_hostile_files_test/hostile)
endif()
