# How a Wine prefix is booted, and the booted prefixes kept per locale that
# the test prefixes are copied from. Script mode; included by prefix.cmake.
# The text of this file is part of the templates' cache key: a change here
# boots them again.

set(WINELOADER /usr/lib/wine/wine64) # Debian's 64-bit loader and server, not on PATH
set(WINESERVER /usr/lib/wine/wineserver64)

# The environment of every Wine program the bench runs in <prefix>. Wine
# takes the Windows locale (and so the ANSI code page) from LC_ALL.
macro(tandrel_wine_environment prefix locale)
    set(ENV{WINEPREFIX} ${prefix})
    set(ENV{WINEARCH} win64)
    if(NOT DEFINED ENV{WINEDEBUG})
        set(ENV{WINEDEBUG} -all)
    endif()
    set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=") # no .NET or HTML engine installers
    set(ENV{LC_ALL} ${locale})
    set(ENV{WINELOADER} ${WINELOADER})
    set(ENV{WINESERVER} ${WINESERVER})
    unset(ENV{WAYLAND_DISPLAY})
endmacro()

# Boots a new prefix, running Wine through the command prefix `${as}` (empty,
# or the unprivileged user's), and puts Windows' fonts ("MS Sans Serif" among
# them) into its Windows directory, as on every Windows machine: Debian's
# Wine does not look for fonts-wine elsewhere.
function(tandrel_wine_boot prefix locale)
    tandrel_wine_environment(${prefix} ${locale})
    tandrel_quietly(${as} timeout 300 ${WINELOADER} wineboot --init)
    tandrel_quietly(${as} ${WINESERVER} -w)
    if(NOT EXISTS ${prefix}/drive_c/windows/Fonts)
        message(FATAL_ERROR "Wine did not boot a prefix in ${prefix}")
    endif()
    file(GLOB fonts /usr/share/wine/fonts/*)
    file(COPY ${fonts} DESTINATION ${prefix}/drive_c/windows/Fonts)
endfunction()

# Sets <out> to a prefix booted in <locale>, booted once and then kept under
# the user's cache folder, keyed by Wine's version, this file and the locale.
function(tandrel_wine_template locale out)
    execute_process(COMMAND ${WINELOADER} --version OUTPUT_VARIABLE version)
    file(READ ${CMAKE_CURRENT_FUNCTION_LIST_FILE} recipe)
    string(SHA256 key "${version}${recipe}${locale}")
    string(SUBSTRING ${key} 0 12 key)
    set(cache "$ENV{XDG_CACHE_HOME}")
    if(cache STREQUAL "")
        set(cache $ENV{HOME}/.cache)
    endif()
    set(template ${cache}/tandrel/wine/${locale}-${key})
    set(${out} ${template} PARENT_SCOPE)
    if(EXISTS ${template}/.complete)
        return()
    endif()
    file(MAKE_DIRECTORY ${cache}/tandrel/wine)
    file(LOCK ${cache}/tandrel/wine/${locale}.lock GUARD FUNCTION TIMEOUT 600)
    if(EXISTS ${template}/.complete)
        return()
    endif()
    message(STATUS "Booting a Wine prefix in ${locale} into ${template}")
    file(GLOB outdated ${cache}/tandrel/wine/${locale}-*)
    if(outdated)
        file(REMOVE_RECURSE ${outdated})
    endif()
    set(as)
    tandrel_wine_boot(${template}.new ${locale})
    file(TOUCH ${template}.new/.complete)
    file(RENAME ${template}.new ${template})
endfunction()

# Makes <prefix> a copy of <template>. Wine's own DLLs, nearly all of a
# prefix's 700 MB, are hard links to the template's; everything else, the
# registry among it, is copied.
function(tandrel_wine_copy template prefix)
    set(shared drive_c/windows/system32 drive_c/windows/winsxs)
    list(TRANSFORM shared PREPEND --exclude=./ OUTPUT_VARIABLE excluded)
    file(MAKE_DIRECTORY ${prefix})
    execute_process(
        COMMAND tar -C ${template} ${excluded} --exclude=./.complete -cf - .
        COMMAND tar -C ${prefix} -xf -
        RESULTS_VARIABLE status)
    foreach(folder ${shared})
        execute_process(COMMAND cp -al ${template}/${folder} ${prefix}/${folder}
            RESULT_VARIABLE linked)
        list(APPEND status ${linked})
    endforeach()
    if(NOT status MATCHES "^0(;0)*$")
        message(FATAL_ERROR "could not copy the Wine prefix ${template} to ${prefix}")
    endif()
endfunction()
