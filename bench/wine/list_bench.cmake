# The list control painting and scrolling one page over a short and a very
# long queue.
add_executable(list_bench ${CMAKE_CURRENT_LIST_DIR}/list_bench.cpp)
target_link_libraries(list_bench PRIVATE lumbra_winrt lumbra_resources)
