# A private X display for tests that need real windows: Xvfb, optionally with
# openbox managing it. Script mode (cmake -P); included by
# run_on_display.cmake and by the Wine test bench. The display's number is
# kept in <state>/display, where the Wine bench's later steps read it again.
include(${CMAKE_CURRENT_LIST_DIR}/script_helpers.cmake)

# Starts Xvfb on a display number it picks itself, in the background, and
# sets ENV{DISPLAY}. With window_manager "openbox", openbox manages the
# screen before this returns.
function(tandrel_start_display state screen window_manager)
    file(MAKE_DIRECTORY ${state})
    find_program(xvfb Xvfb REQUIRED)
    # Xvfb writes the number to its output once it listens.
    tandrel_start_daemon(${state}/xvfb.pid ${state}/xvfb.log ${xvfb}
        -displayfd 1 -screen 0 ${screen} -nolisten tcp -noreset)
    tandrel_wait_for(30 OUTPUT_MATCHES "(^|\n)[0-9]+\n" COMMAND cat ${state}/xvfb.log)
    file(STRINGS ${state}/xvfb.log number REGEX "^[0-9]+$" LIMIT_COUNT 1)
    if(NOT waited_ok OR number STREQUAL "")
        file(READ ${state}/xvfb.log log)
        tandrel_stop_display(${state})
        message(FATAL_ERROR "Xvfb did not start:\n${log}")
    endif()
    set(ENV{DISPLAY} :${number})
    file(WRITE ${state}/display :${number})
    if(window_manager STREQUAL "openbox")
        tandrel_start_openbox(${state})
    endif()
endfunction()

# openbox announces itself on the root window once it manages the screen. Now
# and then it fails to open a display that has only just started listening;
# it is then started again.
function(tandrel_start_openbox state)
    find_program(openbox openbox REQUIRED)
    foreach(attempt 1 2 3)
        tandrel_start_daemon(${state}/openbox.pid ${state}/openbox.log ${openbox})
        tandrel_wait_for(10 OUTPUT_MATCHES "window id"
            COMMAND xprop -root _NET_SUPPORTING_WM_CHECK)
        if(waited_ok)
            return()
        endif()
        tandrel_stop_daemon(${state}/openbox.pid)
        file(READ ${state}/openbox.log log)
        message(NOTICE "openbox did not take the screen $ENV{DISPLAY} (attempt ${attempt}):\n${log}")
    endforeach()
    tandrel_stop_display(${state})
    message(FATAL_ERROR "openbox did not start")
endfunction()

# Ends the display of <state> and its window manager, where they run.
function(tandrel_stop_display state)
    tandrel_stop_daemon(${state}/openbox.pid)
    tandrel_stop_daemon(${state}/xvfb.pid)
    file(REMOVE ${state}/display)
endfunction()
