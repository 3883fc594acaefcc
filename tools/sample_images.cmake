# The sample images: a host tool that writes one file for every format and
# variant the viewer reads; the cross build runs it into the folder beside
# lumbra.exe.
if(NOT LUMBRA_CROSS)
  set(_si ${CMAKE_CURRENT_LIST_DIR}/sample_images)
  add_library(lumbra_sample_images STATIC
    ${_si}/sample_pictures.cpp
    ${_si}/sample_files.cpp
    ${_si}/sample_set.cpp)
  target_link_libraries(lumbra_sample_images PUBLIC lumbra_codecs JPEG::JPEG)
  add_executable(sample_images ${_si}/main.cpp)
  target_link_libraries(sample_images PRIVATE lumbra_sample_images)
endif()
