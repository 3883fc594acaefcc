# The window-description reader under libFuzzer (ASan and UBSan), with the
# winrt library instrumented so coverage guides the search through it.
target_compile_options(lumbra_winrt PRIVATE -fsanitize=fuzzer-no-link,address,undefined
  -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
add_executable(window_description_fuzz ${CMAKE_CURRENT_LIST_DIR}/window_description_fuzz.cpp)
target_compile_options(window_description_fuzz PRIVATE -fsanitize=fuzzer,address,undefined
  -fno-sanitize-recover=all -g)
target_link_options(window_description_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(window_description_fuzz PRIVATE lumbra_winrt)
