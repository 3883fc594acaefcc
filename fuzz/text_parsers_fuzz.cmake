# The text parsers under libFuzzer (ASan and UBSan): popup-menu texts, list
# formats with their layout and cells, and the argument and drop texts of
# the image list. The winrt and core libraries are instrumented by the
# other parts; the viewer's portable library is instrumented here.
target_compile_options(lumbra_viewer PRIVATE -fsanitize=fuzzer-no-link,address,undefined
  -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
foreach(_parser popup_menu_text list_format argument_items)
  add_executable(${_parser}_fuzz ${CMAKE_CURRENT_LIST_DIR}/${_parser}_fuzz.cpp)
  target_compile_options(${_parser}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined
    -fno-sanitize-recover=all -g)
  target_link_options(${_parser}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${_parser}_fuzz PRIVATE lumbra_winrt lumbra_viewer)
endforeach()
