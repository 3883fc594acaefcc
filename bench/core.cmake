# Queue sorting and adding against std::stable_sort and std::vector, and
# picture formatting against snprintf.
add_executable(core_queue_bench ${CMAKE_CURRENT_LIST_DIR}/core_queue_bench.cpp)
target_link_libraries(core_queue_bench PRIVATE lumbra_core)
