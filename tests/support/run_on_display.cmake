# Runs a test program on a private Xvfb display, managed by openbox when
# WINDOW_MANAGER is "openbox", and ends the display afterwards. The run fails
# when the program does.
#   cmake [-DWINDOW_MANAGER=openbox] -P run_on_display.cmake -- <program> [arguments...]
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/display.cmake)

tandrel_command_after_dashes(command)
string(RANDOM LENGTH 8 token)
set(state /tmp/tandrel-display-${token})
tandrel_start_display(${state} 1280x1024x24 "${WINDOW_MANAGER}")
execute_process(COMMAND ${command} RESULT_VARIABLE status)
tandrel_stop_display(${state})
file(REMOVE_RECURSE ${state})
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${command} ended with ${status}")
endif()
