# What the download says about its licences: the game's own (LICENSE.txt), a
# notice that names each third-party component it ships with its files,
# version, licence and exact source (THIRD-PARTY-NOTICES.txt), and in
# licences\ the licence texts, copied from Debian's own copies on this
# machine, and the changes we made to Qt's source with the options it was
# built with, so that the same Qt can be built again.
set(licences ${CMAKE_CURRENT_BINARY_DIR}/licences)
file(REMOVE_RECURSE ${licences})

# Sets <prefix>_package, _version, _source and _source_version: the Debian
# package that installed FILE (or the package named PACKAGE), and copies its
# copyright file into the licences.
function(tandrel_debian_package prefix)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "FILE;PACKAGE" "")
    set(package ${arg_PACKAGE})
    if(arg_FILE)
        execute_process(COMMAND dpkg-query --search ${arg_FILE} OUTPUT_VARIABLE package
                        COMMAND_ERROR_IS_FATAL ANY)
        string(REGEX REPLACE ":.*" "" package "${package}")
    endif()
    execute_process(COMMAND dpkg-query --show "--showformat=\${Version};\${source:Package};\${source:Version}"
                            ${package}
                    OUTPUT_VARIABLE fields COMMAND_ERROR_IS_FATAL ANY)
    list(GET fields 0 version)
    list(GET fields 1 source)
    list(GET fields 2 source_version)
    set(${prefix}_package ${package} PARENT_SCOPE)
    set(${prefix}_version ${version} PARENT_SCOPE)
    set(${prefix}_source ${source} PARENT_SCOPE)
    set(${prefix}_source_version ${source_version} PARENT_SCOPE)
    file(COPY_FILE /usr/share/doc/${package}/copyright ${licences}/${source}-copyright.txt)
endfunction()

file(MAKE_DIRECTORY ${licences}/qt)
foreach(text LGPL-3 GPL-3)
    file(COPY_FILE /usr/share/common-licenses/${text} ${licences}/${text}.txt)
endforeach()

# Qt for Windows is built from the source of Debian's qt6-base, the version
# that qt6-base-dev has here (scripts/build-qt-windows.sh).
tandrel_debian_package(qt PACKAGE qt6-base-dev)
string(REGEX REPLACE "-[^-]+$" "" qt_upstream_version "${qt_source_version}")
set(qt_folder ${PROJECT_SOURCE_DIR}/packaging/windows/qt)
file(GLOB qt_patches CONFIGURE_DEPENDS ${qt_folder}/patches/*.patch)
file(COPY ${qt_patches} ${qt_folder}/options.cmake DESTINATION ${licences}/qt)
set(qt_patch_list)
foreach(patch IN LISTS qt_patches)
    cmake_path(GET patch FILENAME patch)
    string(APPEND qt_patch_list "\n           licences\\qt\\${patch}")
endforeach()

tandrel_mingw_runtime_dll(libstdc++-6.dll gcc_runtime)
tandrel_debian_package(gcc FILE ${gcc_runtime})
# Debian numbers the MinGW GCC packages <GCC's Debian version>+<their own>.
string(REPLACE "+${gcc_source_version}" ";" gcc_debian_gcc_version "${gcc_version}")
list(GET gcc_debian_gcc_version 0 gcc_debian_gcc_version)
string(REGEX REPLACE "-.*" "" gcc_upstream_version "${gcc_debian_gcc_version}")
string(REGEX REPLACE "\\..*" "" gcc_major_version "${gcc_upstream_version}")
# The GCC Runtime Library Exception, whole, from that package's copyright file.
file(READ ${licences}/${gcc_source}-copyright.txt gcc_copyright)
string(REGEX MATCH "GCC RUNTIME LIBRARY EXCEPTION\n.*\n2\\. No Weakening of GCC Copyleft\\.\n\n[^\n]+(\n[^\n]+)*\n"
       exception "${gcc_copyright}")
if(NOT exception)
    message(FATAL_ERROR "No GCC Runtime Library Exception in ${gcc_package}'s copyright file")
endif()
file(WRITE ${licences}/GCC-RUNTIME-LIBRARY-EXCEPTION.txt "${exception}")

tandrel_mingw_runtime_dll(libwinpthread-1.dll winpthreads)
tandrel_debian_package(winpthreads FILE ${winpthreads})
string(REGEX REPLACE "-[^-]+$" "" winpthreads_upstream_version "${winpthreads_source_version}")

configure_file(${CMAKE_CURRENT_LIST_DIR}/THIRD-PARTY-NOTICES.txt.in
               ${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt @ONLY)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE RENAME LICENSE.txt DESTINATION .)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt DESTINATION .)
install(DIRECTORY ${licences} DESTINATION .)
