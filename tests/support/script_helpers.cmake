# Helpers for the test scripts that run in CMake's script mode (cmake -P).

# The command line given after "--": cmake -P <script> -- <program> [arguments...]
function(tandrel_command_after_dashes out)
    set(command)
    set(after FALSE)
    math(EXPR last "${CMAKE_ARGC} - 1")
    foreach(index RANGE ${last})
        if(after)
            list(APPEND command "${CMAKE_ARGV${index}}")
        elseif(CMAKE_ARGV${index} STREQUAL "--")
            set(after TRUE)
        endif()
    endforeach()
    set(${out} "${command}" PARENT_SCOPE)
endfunction()

# Runs a command whose output nobody reads, waiting for it (ctest would wait
# for a process that holds its output open, and so for every background
# process started from it).
function(tandrel_quietly)
    execute_process(COMMAND ${ARGN} INPUT_FILE /dev/null OUTPUT_FILE /dev/null
        ERROR_FILE /dev/null RESULT_VARIABLE status)
    set(quiet_status ${status} PARENT_SCOPE)
endfunction()

# Runs a command ten times a second until it succeeds (and, with
# OUTPUT_MATCHES, prints a match of that expression), for up to `seconds`.
# Sets waited_ok.
function(tandrel_wait_for seconds)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "OUTPUT_MATCHES" "COMMAND")
    math(EXPR polls "${seconds} * 10")
    foreach(poll RANGE ${polls})
        execute_process(COMMAND ${ARG_COMMAND} INPUT_FILE /dev/null OUTPUT_VARIABLE output
            ERROR_QUIET RESULT_VARIABLE status)
        if(status EQUAL 0 AND output MATCHES "${ARG_OUTPUT_MATCHES}")
            set(waited_ok TRUE PARENT_SCOPE)
            return()
        endif()
        execute_process(COMMAND sleep 0.1)
    endforeach()
    set(waited_ok FALSE PARENT_SCOPE)
endfunction()


# Starts a program in the background, detached from the caller's session and
# output, with its process id in <pidfile> and its output in <log>; as <user>
# where one is named.
#   tandrel_start_daemon(<pidfile> <log> [USER <user>] <program> [arguments...])
function(tandrel_start_daemon pidfile log)
    cmake_parse_arguments(PARSE_ARGV 2 ARG "" "USER" "")
    list(POP_FRONT ARG_UNPARSED_ARGUMENTS program)
    set(user)
    if(ARG_USER)
        set(user --chuid ${ARG_USER})
    endif()
    if(NOT log STREQUAL "/dev/null")
        file(REMOVE ${log}) # start-stop-daemon appends to it
    endif()
    find_program(start_stop_daemon start-stop-daemon PATHS /usr/sbin /sbin REQUIRED)
    execute_process(COMMAND ${start_stop_daemon} --start --background --make-pidfile
        --pidfile ${pidfile} --output ${log} ${user} --exec ${program}
        -- ${ARG_UNPARSED_ARGUMENTS} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "could not start ${program}")
    endif()
endfunction()

# Ends the program started with <pidfile>, if it still runs; with WAIT, waits
# (five seconds at the most) until it has ended.
function(tandrel_stop_daemon pidfile)
    if(NOT EXISTS ${pidfile})
        return()
    endif()
    set(wait)
    if(ARGV1 STREQUAL "WAIT")
        set(wait --retry 5)
    endif()
    find_program(start_stop_daemon start-stop-daemon PATHS /usr/sbin /sbin REQUIRED)
    tandrel_quietly(${start_stop_daemon} --stop --pidfile ${pidfile} --remove-pidfile ${wait})
endfunction()
