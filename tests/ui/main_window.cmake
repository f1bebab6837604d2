# The main window, its clocks, whole games played through them, and what
# assistive technology finds in the windows.
add_executable(ui_main_window_tests
    accessibility_test.cpp
    game_clock_backend_test.cpp
    game_log_error_test.cpp
    game_play_test.cpp
    main_window_click_test.cpp
    main_window_layout_test.cpp
)
target_link_libraries(ui_main_window_tests PRIVATE tandrel_gui_test_main)
tandrel_discover_tests(ui_main_window_tests
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
