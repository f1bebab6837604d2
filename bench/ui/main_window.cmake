# How punctually the playback clock flashes, in the real event loop.
add_executable(main_window_flash_bench main_window_flash_bench.cpp)
target_link_libraries(main_window_flash_bench PRIVATE tandrel_ui tandrel_results)

# From the event loop's start to the main window on screen, against an empty
# main window with a menu bar; each run a separate process.
add_executable(main_window_startup_bench main_window_startup_bench.cpp)
target_link_libraries(main_window_startup_bench PRIVATE tandrel_ui tandrel_results)

# When a held spin-field button steps: the delay, the rhythm, the pause.
add_executable(spin_repeat_bench spin_repeat_bench.cpp)
target_link_libraries(spin_repeat_bench PRIVATE tandrel_ui Qt6::Test)
