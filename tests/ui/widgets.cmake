# The main window's own widgets: the spin field with its value rules, the box
# labels and the box squares. Their sources are compiled in directly so that
# these tests do not wait on the rest of the window code.
add_executable(ui_widget_tests
    spin_value_test.cpp
    spin_field_test.cpp
    box_label_test.cpp
    box_shape_test.cpp
    ${PROJECT_SOURCE_DIR}/ui/spin_field.h
    ${PROJECT_SOURCE_DIR}/ui/spin_field.cpp
    ${PROJECT_SOURCE_DIR}/ui/box_label.h
    ${PROJECT_SOURCE_DIR}/ui/box_label.cpp
    ${PROJECT_SOURCE_DIR}/ui/box_shape.h
    ${PROJECT_SOURCE_DIR}/ui/box_shape.cpp
)
target_link_libraries(ui_widget_tests PRIVATE
    tandrel_spin_value tandrel_gui_test_main Qt6::Widgets Qt6::Test GTest::gtest)
gtest_discover_tests(ui_widget_tests PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
