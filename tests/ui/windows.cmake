# The scores and about windows.
add_executable(ui_windows_tests
    scores_window_test.cpp
    about_window_test.cpp
)
target_link_libraries(ui_windows_tests PRIVATE
    tandrel_gui_test_main)
tandrel_discover_tests(ui_windows_tests PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
