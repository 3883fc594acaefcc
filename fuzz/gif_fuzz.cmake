# GIF and BMP/WMF fuzz targets (libFuzzer with ASan and UBSan). The codec and core libraries are
# instrumented too, so the checks reach into them.
set(_lumbra_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer -g)
target_compile_options(lumbra_codecs PRIVATE ${_lumbra_fuzz_flags})
target_compile_options(lumbra_core PRIVATE ${_lumbra_fuzz_flags})
foreach(_format gif bmp_wmf)
  add_executable(${_format}_fuzz ${CMAKE_CURRENT_LIST_DIR}/${_format}_fuzz.cpp)
  target_compile_options(${_format}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined
    -fno-sanitize-recover=all -g)
  target_link_options(${_format}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${_format}_fuzz PRIVATE lumbra_codecs)
endforeach()
