# The Windows tests' bench: each Wine prefix is a ctest fixture, set up before
# the first test that runs in it and removed after the last, and every
# Windows program of a test runs through one launcher (run.cmake). Included
# by tests/CMakeLists.txt. In a build that is not for Windows the functions
# register the tests as they are.

set(TANDREL_WINE_STATES ${CMAKE_BINARY_DIR}/wine)

if(WIN32 AND CMAKE_CROSSCOMPILING)
    set(TANDREL_WINE_RUN ${CMAKE_COMMAND} -DLISTING_PREFIX=${TANDREL_WINE_STATES}/listing
        -P ${CMAKE_CURRENT_LIST_DIR}/run.cmake --)
    # What ctest and gtest_discover_tests run the test programs with.
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TANDREL_WINE_RUN})
endif()

# The folders of the DLLs the test programs load: Qt's, and the MinGW runtime
# that Qt and the programs link against.
include(${PROJECT_SOURCE_DIR}/cmake/mingw_runtime.cmake)
function(tandrel_wine_dll_folders out)
    set(folders)
    if(QT6_INSTALL_PREFIX)
        list(APPEND folders ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
    endif()
    tandrel_mingw_runtime_folders(runtime_folders)
    set(${out} ${folders} ${runtime_folders} PARENT_SCOPE)
endfunction()

# Declares the Wine prefix <name>, the fixture wine.<name>:
#   tandrel_wine_prefix(<name> [LOCALE <LC_ALL>] [DISPLAY XVFB|OPENBOX]
#       [READ_ONLY_WINDOWS_DIRECTORY] [WITHOUT_DRIVE_Z]
#       [REGISTRY <key> <value name> <data> ...] [LABELS <label>...])
# LOCALE is the Windows locale it boots and runs in (default C.UTF-8:
# English, United States, code page 1252). READ_ONLY_WINDOWS_DIRECTORY: the
# prefix belongs to an unprivileged user, who may not write C:\windows, and
# its programs run as that user. REGISTRY values (REG_SZ) are set after boot.
# LABELS go on the fixture's tests: give them the labels of the tests that
# use the prefix, so that a run that leaves those tests out leaves it out too.
function(tandrel_wine_prefix name)
    if(NOT TANDREL_WINE_RUN)
        return()
    endif()
    cmake_parse_arguments(PARSE_ARGV 1 ARG "READ_ONLY_WINDOWS_DIRECTORY;WITHOUT_DRIVE_Z;LISTING"
        "LOCALE;DISPLAY" "REGISTRY;LABELS")
    if(NOT ARG_LOCALE)
        set(ARG_LOCALE C.UTF-8)
    endif()
    tandrel_wine_dll_folders(dll_folders)
    set(state ${TANDREL_WINE_STATES}/${name})
    string(CONCAT description
        "set(bench_locale [==[${ARG_LOCALE}]==])\n"
        "set(bench_display [==[${ARG_DISPLAY}]==])\n"
        "set(bench_read_only ${ARG_READ_ONLY_WINDOWS_DIRECTORY})\n"
        "set(bench_without_drive_z ${ARG_WITHOUT_DRIVE_Z})\n"
        "set(bench_listing ${ARG_LISTING})\n"
        "set(bench_registry [==[${ARG_REGISTRY}]==])\n"
        "set(bench_dll_folders [==[${dll_folders}]==])\n"
        "set(bench_plugins [==[${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}]==])\n")
    file(CONFIGURE OUTPUT ${state}/bench.cmake CONTENT "${description}" @ONLY)
    if(ARG_LISTING)
        return()
    endif()
    set(script -DSTATE=${state} -P ${PROJECT_SOURCE_DIR}/tests/wine/prefix.cmake)
    add_test(NAME wine.${name}.setup
        COMMAND ${CMAKE_COMMAND} -DACTION=setup -DKEEPER=$<TARGET_FILE:desktop_keeper> ${script})
    add_test(NAME wine.${name}.cleanup COMMAND ${CMAKE_COMMAND} -DACTION=cleanup ${script})
    set_tests_properties(wine.${name}.setup PROPERTIES FIXTURES_SETUP wine.${name} TIMEOUT 300
        LABELS "${ARG_LABELS}")
    set_tests_properties(wine.${name}.cleanup PROPERTIES FIXTURES_CLEANUP wine.${name} TIMEOUT 120
        LABELS "${ARG_LABELS}")
endfunction()

# The properties that put a test into the Wine prefix <name>.
function(tandrel_wine_properties name out)
    set(${out} FIXTURES_REQUIRED wine.${name}
        ENVIRONMENT_MODIFICATION TANDREL_WINE_PREFIX=set:${TANDREL_WINE_STATES}/${name}
        PARENT_SCOPE)
endfunction()

# gtest_discover_tests(<target> ...) for a suite that builds for Windows too;
# under Wine its tests run in the prefix WINE_PREFIX (default: default).
#   tandrel_discover_tests(<target> [WINE_PREFIX <name>] [gtest_discover_tests options...])
function(tandrel_discover_tests target)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "WINE_PREFIX" "")
    set(options ${ARG_UNPARSED_ARGUMENTS})
    if(TANDREL_WINE_RUN)
        if(NOT ARG_WINE_PREFIX)
            set(ARG_WINE_PREFIX default)
        endif()
        tandrel_wine_properties(${ARG_WINE_PREFIX} wine_properties)
        list(FIND options PROPERTIES at)
        if(at EQUAL -1)
            list(APPEND options PROPERTIES ${wine_properties})
        else()
            math(EXPR at "${at} + 1")
            list(INSERT options ${at} ${wine_properties})
        endif()
    endif()
    # Listing the tests may load Qt, which under Wine on a busy machine takes
    # more than gtest_discover_tests' 5 s, or start a Wine prefix first.
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 ${options})
endfunction()

# A test of the Windows build that runs in the Wine prefix PREFIX: a program
# target runs under Wine, a script runs with the prefix's environment.
#   tandrel_add_wine_test(NAME <test> PREFIX <name> COMMAND <target or script> [arguments...])
function(tandrel_add_wine_test)
    cmake_parse_arguments(PARSE_ARGV 0 ARG "" "NAME;PREFIX" "COMMAND")
    list(POP_FRONT ARG_COMMAND program)
    if(TARGET ${program})
        set(program $<TARGET_FILE:${program}>)
    endif()
    add_test(NAME ${ARG_NAME} COMMAND ${TANDREL_WINE_RUN} ${program} ${ARG_COMMAND})
    tandrel_wine_properties(${ARG_PREFIX} wine_properties)
    set_tests_properties(${ARG_NAME} PROPERTIES ${wine_properties}
        SKIP_REGULAR_EXPRESSION "needs root to run as the unprivileged user")
endfunction()

if(TANDREL_WINE_RUN)
    tandrel_wine_prefix(listing LISTING)
    tandrel_wine_prefix(default)
    # Wine keeps the regional settings in the prefix's registry, and every Wine
    # program rewrites them for its own locale as it starts, the services a
    # prefix starts on demand among them: the tests that need German run in a
    # prefix booted in German.
    tandrel_wine_prefix(german LOCALE de_DE.UTF-8)
    # The build boots the templates the prefixes are copied from, beside the
    # compilers, where the cache does not hold them yet.
    add_custom_target(wine_templates ALL
        COMMAND ${CMAKE_COMMAND} -DACTION=templates -DSTATES=${TANDREL_WINE_STATES}
            -P ${CMAKE_CURRENT_LIST_DIR}/prefix.cmake
        COMMENT "Wine prefixes to copy for the tests")
endif()
