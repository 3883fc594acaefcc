# The 24-bit to 8-bit conversion against libimagequant.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LUMBRA_IMAGEQUANT REQUIRED IMPORTED_TARGET imagequant)
add_executable(eight_bit_bench ${CMAKE_CURRENT_LIST_DIR}/eight_bit_bench.cpp)
target_link_libraries(eight_bit_bench PRIVATE lumbra_display PkgConfig::LUMBRA_IMAGEQUANT)
