# The program that writes every target's seed corpus, one target that
# builds all the fuzz targets, and a short smoke run of each over its seeds
# (label "fuzz"): the test command runs these, so a target that no longer
# builds or that faults on its seeds fails the tests.
set(_lumbra_fuzz_targets gif_fuzz bmp_wmf_fuzz jpeg_fuzz pcx_fuzz window_description_fuzz
  popup_menu_text_fuzz list_format_fuzz argument_items_fuzz)
add_executable(fuzz_seeds ${CMAKE_CURRENT_LIST_DIR}/fuzz_seeds.cpp)
target_compile_definitions(fuzz_seeds PRIVATE
  LUMBRA_WINDOW_SOURCES="${PROJECT_SOURCE_DIR}/resources/windows")
target_link_options(fuzz_seeds PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
target_link_libraries(fuzz_seeds PRIVATE lumbra_description_compiler lumbra_viewer JPEG::JPEG)
add_custom_target(fuzz_targets DEPENDS ${_lumbra_fuzz_targets} fuzz_seeds)

set(_corpora ${CMAKE_CURRENT_BINARY_DIR}/smoke-corpora)
add_test(NAME fuzz_seeds COMMAND fuzz_seeds ${_corpora})
set_tests_properties(fuzz_seeds PROPERTIES LABELS fuzz FIXTURES_SETUP fuzz_seed_corpora)
foreach(_target ${_lumbra_fuzz_targets})
  # Every seed once, then a few seconds of mutation; any finding fails it.
  file(MAKE_DIRECTORY ${_corpora}/grown-${_target})
  add_test(NAME ${_target}_smoke
    COMMAND ${_target} ${_corpora}/grown-${_target} ${_corpora}/seeds-${_target}
      -max_total_time=4 -rss_limit_mb=2048
      -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/smoke-findings-${_target}-)
  set_tests_properties(${_target}_smoke PROPERTIES LABELS fuzz FIXTURES_REQUIRED fuzz_seed_corpora
    TIMEOUT 120)
endforeach()
