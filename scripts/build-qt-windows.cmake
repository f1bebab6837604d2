# Builds Qt 6 for 64-bit Windows (MinGW-w64) from the source of the very Qt
# that Debian ships, into a cache outside the work tree, and prints the
# install folder on its last line. A cache that is already there is reused.
# build/qt-windows points at it afterwards: the windows preset builds against
# the Qt found there. Run by scripts/build-qt-windows.sh:
#   cmake -P scripts/build-qt-windows.cmake
#
# Debian has no Qt for MinGW-w64 and nothing but Debian's mirror can be
# reached, so the source comes through `apt-get source` with a temporary
# deb-src list that leaves the system's own sources untouched. Debian's host
# tools (moc, rcc, uic from qt6-base-dev-tools) do the code generation.
#
# The build is shared: tandrel.exe ships with the Qt DLLs beside it, as Qt's
# own deployment lays them out (see the README).
cmake_minimum_required(VERSION 3.25)
cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH root)
include(${root}/cmake/cache_folder.cmake)

execute_process(COMMAND dpkg-query -W -f=\${Version} qt6-base-dev
    OUTPUT_VARIABLE qt_version COMMAND_ERROR_IS_FATAL ANY) # 6.4.2+dfsg-10 or the like
set(options ${root}/packaging/windows/qt/options.cmake)
set(toolchain ${root}/cmake/mingw-w64-x86_64.cmake)
file(GLOB patches ${root}/packaging/windows/qt/patches/*.patch)

# The cache's key: Qt's version, the options, the toolchain and the patches.
set(keyed "${qt_version}\n")
foreach(file ${options} ${toolchain} ${patches})
    file(READ ${file} text)
    string(APPEND keyed "${text}")
endforeach()
string(SHA256 key "${keyed}")
string(SUBSTRING ${key} 0 12 key)
tandrel_cache_folder(cache)
string(REGEX REPLACE "[+].*" "" upstream_version ${qt_version})
set(prefix ${cache}/qt-${upstream_version}-mingw64-${key})
set(work ${cache}/qt-build-${key})

# Points build/qt-windows at the finished Qt and prints its folder.
function(found)
    file(MAKE_DIRECTORY ${root}/build)
    file(CREATE_LINK ${prefix} ${root}/build/qt-windows SYMBOLIC)
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${prefix})
endfunction()

# Runs a long step in the work folder with its output in a log file; shows
# the log's end when the step fails.
function(logged log)
    execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${work} OUTPUT_FILE ${log} ERROR_FILE ${log}
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        execute_process(COMMAND tail -n 60 ${log} OUTPUT_VARIABLE tail)
        message(FATAL_ERROR "${tail}\nfailed: ${ARGN}; the whole output is in ${log}")
    endif()
endfunction()

# The source, fetched once: a deb-src list for the suites apt already uses,
# given to apt through its options only.
function(fetch_source)
    file(GLOB fetched ${work}/qt6-base_*.orig.tar.xz)
    if(fetched)
        return()
    endif()
    set(apt ${work}/apt)
    file(MAKE_DIRECTORY ${apt}/lists/partial)
    execute_process(COMMAND apt-get indextargets --format $(REPO_URI) "Created-By: Packages"
        OUTPUT_VARIABLE mirrors ERROR_QUIET)
    string(REGEX REPLACE "\n" ";" mirrors "${mirrors}")
    list(FILTER mirrors EXCLUDE REGEX "security|^$")
    if(NOT mirrors)
        file(GLOB sources /etc/apt/sources.list.d/*.sources)
        foreach(source ${sources})
            file(STRINGS ${source} uris REGEX "^URIs: *[^ ]+")
            list(TRANSFORM uris REPLACE "^URIs: *([^ ]+).*" "\\1")
            list(APPEND mirrors ${uris})
        endforeach()
    endif()
    if(NOT mirrors)
        message(FATAL_ERROR "no Debian mirror configured")
    endif()
    list(GET mirrors 0 mirror)
    string(REGEX REPLACE "/$" "" mirror ${mirror})
    file(WRITE ${apt}/sources.list "deb-src ${mirror} bookworm main\n")
    set(apt_options -o Dir::Etc::sourcelist=${apt}/sources.list -o Dir::Etc::sourceparts=-
        -o Dir::State::Lists=${apt}/lists)
    logged(${work}/apt-update.log apt-get ${apt_options} update -qq)
    logged(${work}/fetch.log apt-get ${apt_options} source --download-only qt6-base=${qt_version})
endfunction()

# Unpacks the source, as upstream made it (without Debian's own patches), and
# applies ours to it, each of which says what it mends and why.
function(unpack_source)
    set(source ${work}/qtbase)
    if(EXISTS ${source}/CMakeLists.txt)
        return()
    endif()
    file(REMOVE_RECURSE ${source} ${source}.tmp)
    file(MAKE_DIRECTORY ${source}.tmp)
    file(GLOB tarball ${work}/qt6-base_*.orig.tar.xz)
    execute_process(COMMAND tar -xf ${tarball} -C ${source}.tmp --strip-components=1
        COMMAND_ERROR_IS_FATAL ANY)
    foreach(patch ${patches})
        execute_process(COMMAND patch -d ${source}.tmp -p1 --quiet --forward
            --no-backup-if-mismatch INPUT_FILE ${patch} RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR "${patch} does not apply to Qt ${qt_version}")
        endif()
    endforeach()
    file(RENAME ${source}.tmp ${source})
endfunction()

if(EXISTS ${prefix}/.complete)
    found()
    return()
endif()
# One build at a time (the test stage and the packaging may both ask): a
# second caller waits for the first, then finds the cache.
file(MAKE_DIRECTORY ${work})
file(LOCK ${work}/.lock RESULT_VARIABLE busy TIMEOUT 0)
if(busy)
    message(NOTICE "Waiting for another build of Qt for Windows in ${work}")
    file(LOCK ${work}/.lock)
endif()
if(EXISTS ${prefix}/.complete)
    found()
    return()
endif()

fetch_source()
unpack_source()
string(TIMESTAMP started "%s")
message(NOTICE "Building Qt for Windows into ${prefix} (about 25 minutes on two cores);"
    " progress in ${work}/build.log")
# Through ccache where there is one: a build under a new key (a changed
# option or patch) then compiles again only what the change touches.
find_program(ccache ccache)
set(launcher)
if(ccache)
    set(launcher -DCMAKE_C_COMPILER_LAUNCHER=${ccache} -DCMAKE_CXX_COMPILER_LAUNCHER=${ccache})
    set(ENV{CCACHE_BASEDIR} ${work})
    set(ENV{CCACHE_NOHASHDIR} 1)
endif()
logged(${work}/configure.log ${CMAKE_COMMAND} -S ${work}/qtbase -B ${work}/build -G Ninja
    -C ${options} -DCMAKE_TOOLCHAIN_FILE=${toolchain} -DCMAKE_INSTALL_PREFIX=${prefix} ${launcher})
cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
logged(${work}/build.log ${CMAKE_COMMAND} --build ${work}/build -j${cores})
file(REMOVE_RECURSE ${prefix})
logged(${work}/install.log ${CMAKE_COMMAND} --install ${work}/build)
file(TOUCH ${prefix}/.complete)
string(TIMESTAMP finished "%s")
math(EXPR seconds "${finished} - ${started}")
message(NOTICE "Qt for Windows built in ${seconds} s")
file(REMOVE_RECURSE ${work}/build)
found()
