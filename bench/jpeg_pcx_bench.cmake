# JPEG against djpeg (libjpeg-turbo-progs) and PCX against SDL2_image.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LUMBRA_SDL2_IMAGE REQUIRED IMPORTED_TARGET SDL2_image)
add_executable(jpeg_bench ${CMAKE_CURRENT_LIST_DIR}/jpeg_bench.cpp)
target_link_libraries(jpeg_bench PRIVATE lumbra_codecs JPEG::JPEG)
add_executable(pcx_bench ${CMAKE_CURRENT_LIST_DIR}/pcx_bench.cpp)
target_link_libraries(pcx_bench PRIVATE lumbra_codecs PkgConfig::LUMBRA_SDL2_IMAGE)
