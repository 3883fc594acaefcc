# GIF decoding against giflib and stb_image.
find_package(GIF REQUIRED)
add_executable(gif_bench ${CMAKE_CURRENT_LIST_DIR}/gif_bench.cpp)
target_link_libraries(gif_bench PRIVATE lumbra_codecs GIF::GIF stb)
