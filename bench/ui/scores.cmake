# How long the scores window takes to open filled, with its newest line in view.
add_executable(scores_window_bench scores_window_bench.cpp)
target_link_libraries(scores_window_bench PRIVATE tandrel_ui benchmark::benchmark)
