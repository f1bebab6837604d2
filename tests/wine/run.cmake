# Runs a program of the Windows tests in its Wine prefix: the cross build's
# test launcher.
#   cmake [-DLISTING_PREFIX=<state>] -P run.cmake -- <program> [arguments...]
# The prefix is the one whose state folder TANDREL_WINE_PREFIX names, or else
# LISTING_PREFIX, where test discovery lists the tests (set up here on first
# use). A Windows program (.exe) runs under Wine; anything else (a test
# script) runs as it is, with the prefix's environment. In a prefix of the
# unprivileged user, both run as that user.
#
# Two ways Wine can lose a test program's result, each mended by running the
# program once more (and only once; the second run's result counts):
# - Wine's server sends SIGKILL to a program whose Linux process is still
#   there half a second after its last Windows thread ended, and on a busy
#   machine that now and then catches a program that had finished and was
#   only exiting. Repeated only when the killed run had completed: it printed
#   GoogleTest's summary with no failed test, or the list of tests asked for.
# - Now and then, in a fresh prefix, Wine does not start the program at all:
#   it fails and prints nothing. A run that printed anything is never repeated.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/prefix.cmake)

tandrel_command_after_dashes(command)
list(POP_FRONT command program)

set(state "$ENV{TANDREL_WINE_PREFIX}")
if(state STREQUAL "")
    set(state ${LISTING_PREFIX})
endif()
if(state STREQUAL "" OR NOT EXISTS ${state}/bench.cmake)
    message(FATAL_ERROR "TANDREL_WINE_PREFIX names no Wine prefix of the bench: '${state}'")
endif()
file(REAL_PATH ${state} state)
if(NOT EXISTS ${state}/ready)
    include(${state}/bench.cmake)
    if(NOT bench_listing)
        message(FATAL_ERROR "the Wine prefix ${state} is not set up: run its test through "
            "ctest, which sets it up first, or keep it with ctest -FC")
    endif()
    file(LOCK ${state}/setup.lock)
    if(NOT EXISTS ${state}/ready)
        tandrel_wine_setup(${state} "")
    endif()
    file(LOCK ${state}/setup.lock RELEASE)
endif()
if(EXISTS ${state}/skipped)
    file(READ ${state}/skipped reason)
    message("[  SKIPPED ] ${reason}")
    return()
endif()
tandrel_wine_enter(${state})
if(bench_listing)
    tandrel_wine_start_server(60)
endif()

if(NOT program MATCHES "\\.[eE][xX][eE]$")
    execute_process(COMMAND ${as} ${program} ${command} COMMAND_ERROR_IS_FATAL ANY)
    return()
endif()

if(wine_home)
    # The unprivileged user cannot read our build trees: it runs a copy, beside
    # the DLLs copied at setup.
    file(LOCK ${wine_home}/bench/.copying)
    file(COPY ${program} DESTINATION ${wine_home}/bench)
    file(LOCK ${wine_home}/bench/.copying RELEASE)
    cmake_path(GET program FILENAME name)
    set(program ${wine_home}/bench/${name})
endif()

# Runs the program once; its status and output go to run_status, run_output.
# A listing of tests is printed only from the run that counts (CMake reads it).
function(run_once)
    if(listing)
        set(echo)
    else()
        set(echo ECHO_OUTPUT_VARIABLE ECHO_ERROR_VARIABLE)
    endif()
    execute_process(COMMAND ${as} ${WINELOADER} ${program} ${command} ${echo}
        RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    set(run_status "${status}" PARENT_SCOPE)
    set(run_output "${output}" PARENT_SCOPE)
    set(run_errors "${errors}" PARENT_SCOPE)
endfunction()

set(listing FALSE)
if("--gtest_list_tests" IN_LIST command)
    set(listing TRUE)
endif()
run_once()
set(again)
if(run_status STREQUAL "Subprocess killed" AND (listing OR (run_output MATCHES "\\[  PASSED  \\]"
        AND NOT run_output MATCHES "\\[  FAILED  \\]")))
    set(again "Wine killed the program as it was exiting")
elseif(NOT run_status EQUAL 0 AND "${run_output}${run_errors}" MATCHES "^[ \t\r\n]*$")
    set(again "the program printed nothing, so Wine did not start it")
endif()
if(again)
    message("run.cmake: ${again}; running it once more")
    run_once()
endif()
if(listing)
    if(NOT run_errors STREQUAL "")
        message("${run_errors}")
    endif()
    string(RANDOM LENGTH 8 token)
    set(list_file ${state}/listing-${token}.txt)
    file(WRITE ${list_file} "${run_output}")
    execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${list_file})
    file(REMOVE ${list_file})
endif()
if(NOT run_status EQUAL 0)
    message(FATAL_ERROR "${program} failed under Wine (${run_status})")
endif()
