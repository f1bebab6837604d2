# A Wine prefix of the Windows tests: setting it up and tearing it down (ctest
# runs both as the tests of the prefix's fixture), and the environment a
# program in it runs with. Script mode:
#   cmake -DACTION=setup -DSTATE=<folder> -DKEEPER=<desktop_keeper.exe> -P prefix.cmake
#   cmake -DACTION=cleanup -DSTATE=<folder> -P prefix.cmake
#   cmake -DACTION=templates -DSTATES=<folder of the states> -P prefix.cmake
# <folder>/bench.cmake describes the prefix (wine_bench.cmake writes it); the
# prefix itself, its display's number and its state live beside it.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../support/display.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/template.cmake)

# Root may write anywhere, and Wine refuses a prefix its user does not own:
# a prefix whose Windows directory its user may not write belongs to a user
# of its own, made once.
set(TANDREL_WINE_USER tandrel-wine-user)

# Reads the description of the prefix in <state> and sets the environment its
# programs run with. Sets wine_prefix, wine_home (the unprivileged user's
# folder, or empty) and `as` (the command prefix that runs a program as that
# user, or empty).
macro(tandrel_wine_enter state)
    include(${state}/bench.cmake)
    set(wine_home)
    set(as)
    set(wine_prefix ${state}/prefix)
    if(bench_read_only AND IS_SYMLINK ${state}/home)
        file(REAL_PATH ${state}/home wine_home)
        set(wine_prefix ${wine_home}/prefix)
        tandrel_as_user(${TANDREL_WINE_USER} ${wine_home} as)
        set(locales)
        if(EXISTS ${wine_home}/locales)
            set(locales ${wine_home}/locales)
        endif()
    else()
        tandrel_glibc_locale(${bench_locale} locales)
    endif()
    tandrel_wine_environment(${wine_prefix} ${bench_locale} "${locales}")
    unset(ENV{DISPLAY})
    if(EXISTS ${state}/display)
        file(READ ${state}/display display)
        set(ENV{DISPLAY} ${display})
    endif()
    # Where Windows finds the DLLs of Qt and of the MinGW runtime: drive Z: is /.
    list(TRANSFORM bench_dll_folders REPLACE "/" "\\\\" OUTPUT_VARIABLE winepath)
    list(TRANSFORM winepath PREPEND "Z:")
    string(JOIN ";" winepath ${winepath})
    set(ENV{WINEPATH} "${winepath}")
    if(bench_without_drive_z OR wine_home)
        # Nothing on this machine tells Wine or Qt where to look.
        foreach(variable WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM QT_QPA_PLATFORM_PLUGIN_PATH)
            unset(ENV{${variable}})
        endforeach()
    endif()
endmacro()

# Starts the prefix's Wine server, to live <persistence> seconds after its
# last program (empty: until it is stopped), and the prefix's background
# services from a process whose output goes nowhere. Otherwise the first
# test program would start them, and they would hold ctest's output open
# until the server's idle timeout.
function(tandrel_wine_start_server persistence)
    tandrel_quietly(${as} ${WINESERVER} -p${persistence})
    if(quiet_status EQUAL 0) # a new server
        tandrel_quietly(${as} timeout 120 ${WINELOADER} wineboot)
    endif()
endfunction()

# A prefix of the unprivileged user: a copy of that user's template in a
# folder it owns, outside any folder that may be private to root, with the
# desktop keeper, the DLLs of Qt and the MinGW runtime, Qt's plugins and the
# glibc locale in its reach.
function(tandrel_wine_user_prefix state keeper)
    tandrel_wine_template(${bench_locale} ${TANDREL_WINE_USER} template)
    string(RANDOM LENGTH 8 token)
    set(home /tmp/tandrel-wine-${token})
    file(MAKE_DIRECTORY ${home}/bench)
    file(CREATE_LINK ${home} ${state}/home SYMBOLIC)
    tandrel_wine_copy(${template} ${home}/prefix)
    foreach(folder ${bench_dll_folders})
        file(GLOB dlls ${folder}/*.dll)
        list(APPEND shipped ${dlls})
    endforeach()
    file(GLOB plugins LIST_DIRECTORIES true ${bench_plugins}/*)
    file(COPY ${keeper} ${shipped} ${plugins} DESTINATION ${home}/bench)
    tandrel_glibc_locale(${bench_locale} locales)
    if(locales)
        file(COPY ${locales}/${bench_locale} DESTINATION ${home}/locales)
    endif()
    execute_process(COMMAND chown ${TANDREL_WINE_USER}: ${home} ${home}/prefix
        COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND chown -R ${TANDREL_WINE_USER}: ${home}/bench COMMAND_ERROR_IS_FATAL ANY)
endfunction()

function(tandrel_wine_setup state keeper)
    tandrel_wine_cleanup(${state})
    include(${state}/bench.cmake)
    if(bench_read_only)
        execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT uid EQUAL 0)
            file(WRITE ${state}/skipped "needs root to run as the unprivileged user "
                "${TANDREL_WINE_USER}")
            file(TOUCH ${state}/ready)
            return()
        endif()
        tandrel_wine_user_prefix(${state} ${keeper})
    else()
        tandrel_wine_template(${bench_locale} "" template)
        tandrel_wine_copy(${template} ${state}/prefix)
    endif()
    tandrel_wine_enter(${state})
    if(bench_without_drive_z)
        file(REMOVE ${wine_prefix}/dosdevices/z:)
    endif()
    if(wine_home)
        cmake_path(GET keeper FILENAME keeper_name)
        set(keeper ${wine_home}/bench/${keeper_name})
    endif()
    if(bench_display)
        string(TOLOWER ${bench_display} display)
        tandrel_start_display(${state} 1024x768x24 ${display})
        tandrel_wine_enter(${state})
    endif()
    if(bench_listing)
        tandrel_wine_start_server(60)
    else()
        tandrel_wine_start_server("")
    endif()
    list(LENGTH bench_registry length)
    if(length GREATER 0)
        math(EXPR last "${length} - 1")
        foreach(at RANGE 0 ${last} 3)
            math(EXPR at_name "${at} + 1")
            math(EXPR at_data "${at} + 2")
            list(GET bench_registry ${at} key)
            list(GET bench_registry ${at_name} name)
            list(GET bench_registry ${at_data} data)
            execute_process(COMMAND ${as} ${WINELOADER} reg add ${key} /v ${name} /d ${data} /f
                INPUT_FILE /dev/null OUTPUT_FILE /dev/null COMMAND_ERROR_IS_FATAL ANY)
        endforeach()
    endif()
    if(bench_read_only)
        file(CHMOD ${wine_prefix}/drive_c/windows DIRECTORY_PERMISSIONS
            OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
        tandrel_quietly(${as} touch ${wine_prefix}/drive_c/windows/probe)
        if(quiet_status EQUAL 0)
            message(FATAL_ERROR "the Windows directory is still writable for ${TANDREL_WINE_USER}")
        endif()
    endif()
    if(NOT bench_listing)
        # Wine closes a prefix's desktop whenever the last program on it ends,
        # and the next program to open a window could wait a minute for it.
        set(start_as)
        if(wine_home)
            set(start_as USER ${TANDREL_WINE_USER})
        endif()
        tandrel_start_daemon(${state}/keeper.pid /dev/null ${start_as} ${WINELOADER} ${keeper})
    endif()
    file(TOUCH ${state}/ready)
endfunction()

function(tandrel_wine_cleanup state)
    if(NOT EXISTS ${state}/bench.cmake)
        return()
    endif()
    tandrel_wine_enter(${state})
    # The keeper first: a Wine program still starting could start a new server.
    tandrel_stop_daemon(${state}/keeper.pid WAIT)
    if(EXISTS ${wine_prefix})
        tandrel_quietly(${as} ${WINESERVER} -k)
        tandrel_quietly(${as} timeout 30 ${WINESERVER} -w)
    endif()
    tandrel_stop_display(${state})
    if(wine_home MATCHES "^/tmp/tandrel-wine-")
        file(REMOVE_RECURSE ${wine_home})
    endif()
    file(REMOVE ${state}/home ${state}/ready ${state}/skipped)
    file(REMOVE_RECURSE ${state}/prefix)
endfunction()

# Boots the templates of the prefixes in <states> ahead of the tests (the
# build does, beside the compilers), so that setting a prefix up copies one.
function(tandrel_wine_templates states)
    execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
    file(GLOB descriptions ${states}/*/bench.cmake)
    foreach(description ${descriptions})
        include(${description})
        if(NOT bench_read_only)
            tandrel_wine_template(${bench_locale} "" template)
        elseif(uid EQUAL 0)
            tandrel_wine_template(${bench_locale} ${TANDREL_WINE_USER} template)
        endif()
    endforeach()
endfunction()

if(ACTION STREQUAL "setup")
    tandrel_wine_setup(${STATE} ${KEEPER})
elseif(ACTION STREQUAL "cleanup")
    tandrel_wine_cleanup(${STATE})
elseif(ACTION STREQUAL "templates")
    tandrel_wine_templates(${STATES})
endif()
