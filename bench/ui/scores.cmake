# How long the scores window takes to open filled, with its newest line in view.
add_executable(scores_window_bench scores_window_bench.cpp)
target_link_libraries(scores_window_bench PRIVATE tandrel_ui tandrel_test_support benchmark::benchmark)

# How much memory scores windows that were opened and closed keep.
add_executable(scores_memory_bench scores_memory_bench.cpp)
target_link_libraries(scores_memory_bench PRIVATE tandrel_ui tandrel_test_support)
