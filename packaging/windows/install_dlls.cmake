# Part of `cmake --install` (and so of the zip and the installer): installs
# the DLLs that the program and Qt's plugins load, as CMake's scan of their
# import tables resolves them in the folder of lower-case links that
# runtime_dlls.cmake made, under their own names. When the install strips
# (as CPack's does), strips them and the plugins too.
file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES ${TANDREL_PROGRAM}
    MODULES ${TANDREL_PLUGINS}
    DIRECTORIES ${TANDREL_DLL_LOOKUP}
    RESOLVED_DEPENDENCIES_VAR dlls
    UNRESOLVED_DEPENDENCIES_VAR windows_dlls)
# Windows' own DLLs are found nowhere here; a Qt or runtime DLL must be.
list(FILTER windows_dlls INCLUDE REGEX "^(qt6|lib)")
if(windows_dlls)
    message(FATAL_ERROR "Not found in Qt for Windows or the MinGW runtime: ${windows_dlls}")
endif()

set(installed ${TANDREL_INSTALLED_PLUGINS})
foreach(dll IN LISTS dlls)
    file(REAL_PATH "${dll}" dll)
    file(INSTALL "${dll}" DESTINATION "${CMAKE_INSTALL_PREFIX}" TYPE SHARED_LIBRARY)
    cmake_path(GET dll FILENAME name)
    list(APPEND installed ${name})
endforeach()

if(CMAKE_INSTALL_DO_STRIP)
    foreach(file IN LISTS installed)
        execute_process(COMMAND "${TANDREL_STRIP}" --strip-unneeded
                                "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${file}"
                        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endif()
