# The real viewer measured from outside: start-up to pixels on the screen
# against a paint floor, stepping through folders, and memory. Each drives
# a copy of lumbra.exe under Wine and writes its images at run time into
# the build tree.
add_library(viewer_bench_driver STATIC
  ${CMAKE_CURRENT_LIST_DIR}/program_driver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/decode_time.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bench_images.cpp
  ${CMAKE_CURRENT_LIST_DIR}/floor_picture.cpp
  ${PROJECT_SOURCE_DIR}/tools/sample_images/sample_files.cpp
  ${PROJECT_SOURCE_DIR}/tools/sample_images/sample_pictures.cpp)
target_link_libraries(viewer_bench_driver PUBLIC lumbra_display lumbra_codecs lumbra_core
  JPEG::JPEG psapi)

# The floor: a window painting a picture it is handed already decoded.
add_executable(paint_floor WIN32 ${CMAKE_CURRENT_LIST_DIR}/paint_floor.cpp)

foreach(_bench viewer_start_bench viewer_step_bench viewer_memory_bench)
  add_executable(${_bench} ${CMAKE_CURRENT_LIST_DIR}/${_bench}.cpp)
  target_link_libraries(${_bench} PRIVATE viewer_bench_driver)
  add_dependencies(${_bench} lumbra paint_floor)
  target_compile_definitions(${_bench} PRIVATE LUMBRA_PROGRAM="$<TARGET_FILE:lumbra>"
    LUMBRA_PAINT_FLOOR="$<TARGET_FILE:paint_floor>")
endforeach()
