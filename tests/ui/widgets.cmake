# The main window's own widgets: the spin field with its value rules, the box
# labels and the box squares.
add_executable(ui_widget_tests
    spin_value_test.cpp
    spin_field_test.cpp
    repeat_rhythm_test.cpp
    box_label_test.cpp
    box_shape_test.cpp
)
target_link_libraries(ui_widget_tests PRIVATE
    tandrel_gui_test_main)
tandrel_discover_tests(ui_widget_tests PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
