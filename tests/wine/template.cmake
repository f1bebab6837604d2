# How a Wine prefix is booted, and the booted prefixes kept per locale and
# user that the test prefixes are copied from. Script mode; included by
# prefix.cmake. The text of this file is part of the templates' cache key: a
# change here boots them again.

set(WINELOADER /usr/lib/wine/wine64) # Debian's 64-bit loader and server, not on PATH
set(WINESERVER /usr/lib/wine/wineserver64)

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/cache_folder.cmake)

# The command prefix that runs a program as <user> with <home> as its home.
function(tandrel_as_user user home out)
    set(${out} setpriv --reuid=${user} --regid=${user} --clear-groups
        env -u XDG_RUNTIME_DIR -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_DATA_HOME
        HOME=${home} USER=${user} LOGNAME=${user} PARENT_SCOPE)
endfunction()

# Wine turns file names and command lines into the character set of the
# glibc locale LC_ALL names, and where glibc lacks that locale, into ASCII: a
# name outside it cannot be opened. Such a locale is built once into the
# cache; <out> is the folder LOCPATH must name, or empty.
function(tandrel_glibc_locale locale out)
    set(${out} "" PARENT_SCOPE)
    execute_process(COMMAND locale -a OUTPUT_VARIABLE installed ERROR_QUIET)
    string(REPLACE ".UTF-8" ".utf8" glibc_name ${locale})
    string(REPLACE "." "\\." glibc_name ${glibc_name})
    if(locale MATCHES "^(C|POSIX)[.]" OR installed MATCHES "(^|\n)${glibc_name}\n")
        return()
    endif()
    tandrel_cache_folder(cache)
    set(folder ${cache}/locales)
    file(MAKE_DIRECTORY ${folder})
    file(LOCK ${folder}/${locale}.lock GUARD FUNCTION TIMEOUT 120)
    if(NOT EXISTS ${folder}/${locale}/LC_CTYPE)
        string(REGEX REPLACE "[.].*" "" language ${locale})
        execute_process(COMMAND localedef --no-archive -i ${language} -f UTF-8 ${folder}/${locale}
            OUTPUT_QUIET ERROR_QUIET)
        if(NOT EXISTS ${folder}/${locale}/LC_CTYPE)
            message(FATAL_ERROR "could not build the glibc locale ${locale} (Debian's locales)")
        endif()
    endif()
    set(${out} ${folder} PARENT_SCOPE)
endfunction()

# The environment of every Wine program the bench runs in <prefix>. Wine
# takes the Windows locale (and so the ANSI code page) from LC_ALL.
macro(tandrel_wine_environment prefix locale locales)
    set(ENV{WINEPREFIX} ${prefix})
    set(ENV{WINEARCH} win64)
    if(NOT DEFINED ENV{WINEDEBUG})
        set(ENV{WINEDEBUG} -all)
    endif()
    set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=") # no .NET or HTML engine installers
    set(ENV{LC_ALL} ${locale})
    set(ENV{LOCPATH} "${locales}")
    if("${locales}" STREQUAL "")
        unset(ENV{LOCPATH})
    endif()
    set(ENV{WINELOADER} ${WINELOADER})
    set(ENV{WINESERVER} ${WINESERVER})
    unset(ENV{WAYLAND_DISPLAY})
endmacro()

# Sets <out> to a prefix booted in <locale> as <user> (or the caller, where
# it is empty), booted once and then kept in the cache, keyed by Wine's
# version, this file, the locale and the user. Windows' fonts ("MS Sans
# Serif" among them) are in its Windows directory, as on every Windows
# machine: Debian's Wine does not look for fonts-wine elsewhere.
function(tandrel_wine_template locale user out)
    execute_process(COMMAND ${WINELOADER} --version OUTPUT_VARIABLE version)
    file(READ ${CMAKE_CURRENT_FUNCTION_LIST_FILE} recipe)
    string(SHA256 key "${version}${recipe}${locale}${user}")
    string(SUBSTRING ${key} 0 12 key)
    tandrel_cache_folder(cache)
    string(JOIN - name ${locale} ${user})
    set(template ${cache}/wine/${name}-${key})
    set(${out} ${template} PARENT_SCOPE)
    if(EXISTS ${template}/.complete)
        file(TOUCH ${template}/.complete) # in use: see below
        return()
    endif()
    file(MAKE_DIRECTORY ${cache}/wine)
    file(LOCK ${cache}/wine/${name}.lock GUARD FUNCTION TIMEOUT 600)
    if(EXISTS ${template}/.complete)
        return()
    endif()
    message(STATUS "Booting a Wine prefix in ${locale} into ${template}")
    # Templates of another recipe or Wine go after a week unused: another
    # worktree may still copy them.
    string(TIMESTAMP now "%s")
    file(GLOB others ${cache}/wine/${name}-????????????)
    foreach(other ${others})
        file(TIMESTAMP ${other}/.complete used "%s")
        if(used)
            math(EXPR used "${used} + 604800")
        endif()
        if(NOT used OR now GREATER used)
            file(REMOVE_RECURSE ${other})
        endif()
    endforeach()
    # Booted where the user may write, and then moved into the cache.
    string(RANDOM LENGTH 8 token)
    set(home /tmp/tandrel-wine-boot-${token})
    file(MAKE_DIRECTORY ${home})
    set(as)
    tandrel_glibc_locale(${locale} locales)
    if(user)
        tandrel_quietly(id -u ${user})
        if(NOT quiet_status EQUAL 0)
            execute_process(COMMAND useradd --system --no-create-home --shell /usr/sbin/nologin
                ${user} COMMAND_ERROR_IS_FATAL ANY)
        endif()
        tandrel_as_user(${user} ${home} as)
        if(locales)
            file(COPY ${locales}/${locale} DESTINATION ${home}/locales)
            set(locales ${home}/locales)
        endif()
        execute_process(COMMAND chown -R ${user}: ${home} COMMAND_ERROR_IS_FATAL ANY)
    endif()
    tandrel_wine_environment(${home}/prefix ${locale} "${locales}")
    tandrel_quietly(${as} timeout 300 ${WINELOADER} wineboot --init)
    tandrel_quietly(${as} ${WINESERVER} -w)
    if(NOT EXISTS ${home}/prefix/drive_c/windows/Fonts)
        message(FATAL_ERROR "Wine did not boot a prefix in ${home}/prefix")
    endif()
    file(GLOB fonts /usr/share/wine/fonts/*)
    file(COPY ${fonts} DESTINATION ${home}/prefix/drive_c/windows/Fonts)
    file(TOUCH ${home}/prefix/.complete)
    tandrel_move(${home}/prefix ${template})
    file(REMOVE_RECURSE ${home})
endfunction()

# Moves a folder, also to another file system.
function(tandrel_move from to)
    file(RENAME ${from} ${to} RESULT moved)
    if(NOT moved EQUAL 0)
        execute_process(COMMAND cp -a ${from} ${to} COMMAND_ERROR_IS_FATAL ANY)
        file(REMOVE_RECURSE ${from})
    endif()
endfunction()

# Makes <prefix> a copy of <template>, with the same owners. Wine's own DLLs,
# nearly all of a prefix's 700 MB, are hard links to the template's where
# both are on one file system; everything else, the registry among it, is
# copied.
function(tandrel_wine_copy template prefix)
    set(shared drive_c/windows/system32 drive_c/windows/winsxs)
    list(TRANSFORM shared PREPEND --exclude=./ OUTPUT_VARIABLE excluded)
    file(MAKE_DIRECTORY ${prefix})
    execute_process(
        COMMAND tar -C ${template} ${excluded} --exclude=./.complete -cf - .
        COMMAND tar -C ${prefix} --same-owner -xf -
        COMMAND_ERROR_IS_FATAL ANY)
    foreach(folder ${shared})
        execute_process(COMMAND cp -al ${template}/${folder} ${prefix}/${folder}
            RESULT_VARIABLE linked OUTPUT_QUIET ERROR_QUIET)
        if(NOT linked EQUAL 0)
            file(REMOVE_RECURSE ${prefix}/${folder})
            execute_process(COMMAND cp -a ${template}/${folder} ${prefix}/${folder}
                COMMAND_ERROR_IS_FATAL ANY)
        endif()
    endforeach()
endfunction()
