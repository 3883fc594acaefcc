# libFuzzer targets for the JPEG driver and the PCX reader. The codecs
# library is instrumented too, so coverage guides the search through it.
set(_lumbra_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer -g)
target_compile_options(lumbra_codecs PRIVATE ${_lumbra_fuzz_flags})
target_link_options(lumbra_codecs INTERFACE -fsanitize=address,undefined)
foreach(_format jpeg pcx)
  add_executable(${_format}_fuzz ${CMAKE_CURRENT_LIST_DIR}/${_format}_fuzz.cpp)
  target_compile_options(${_format}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined
    -fno-sanitize-recover=all -g)
  target_link_options(${_format}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${_format}_fuzz PRIVATE lumbra_codecs)
endforeach()
