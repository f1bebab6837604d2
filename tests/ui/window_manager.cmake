# The windows' frames under a real window manager (Xvfb and openbox), read
# back from the X server. Linux only; the display is started around the whole
# suite, so the test is added as one whole rather than discovered.
if(WIN32 OR APPLE)
    return()
endif()
add_executable(ui_window_manager_tests window_manager_test.cpp)
target_link_libraries(ui_window_manager_tests PRIVATE tandrel_gui_test_main)
add_test(NAME WindowManager.FramesUnderOpenbox
    COMMAND ${TANDREL_RUN_UNDER_OPENBOX} $<TARGET_FILE:ui_window_manager_tests>)
set_tests_properties(WindowManager.FramesUnderOpenbox PROPERTIES TIMEOUT 120
    ENVIRONMENT QT_QPA_PLATFORM=xcb)
