# The scores and about windows. Their sources and the few window helpers they
# need are compiled in directly, so these tests do not wait on the main window.
add_executable(ui_windows_tests
    scores_window_test.cpp
    about_window_test.cpp
    ${PROJECT_SOURCE_DIR}/ui/scores.h
    ${PROJECT_SOURCE_DIR}/ui/scores.cpp
    ${PROJECT_SOURCE_DIR}/ui/about.h
    ${PROJECT_SOURCE_DIR}/ui/about.cpp
    ${PROJECT_SOURCE_DIR}/ui/ui.qrc
    ${PROJECT_SOURCE_DIR}/ui/error_box.cpp
    ${PROJECT_SOURCE_DIR}/ui/window_font.cpp
    ${PROJECT_SOURCE_DIR}/ui/window_owner.cpp
)
target_link_libraries(ui_windows_tests PRIVATE
    tandrel_log tandrel_gui_test_main Qt6::Widgets Qt6::Test GTest::gtest)
gtest_discover_tests(ui_windows_tests PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
