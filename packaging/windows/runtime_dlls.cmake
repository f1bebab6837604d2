# The DLLs that tandrel.exe and Qt's plugins load, installed beside
# tandrel.exe: those that Qt for Windows and the MinGW runtime provide, found
# by CMake's runtime-dependency scan, which reads the import tables with
# MinGW's objdump. What none of those folders holds is part of Windows.
tandrel_mingw_runtime_folders(runtime_folders)
set(TANDREL_DLL_FOLDERS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS} ${runtime_folders})

# The scan looks a DLL up by its name in lower case, as Windows' file names
# are case-insensitive, but this machine's are not (Qt6Core.dll): so it looks
# in a folder of links with lower-case names to every DLL of those folders.
set(TANDREL_DLL_LOOKUP ${CMAKE_CURRENT_BINARY_DIR}/dll-lookup)
file(REMOVE_RECURSE ${TANDREL_DLL_LOOKUP})
file(MAKE_DIRECTORY ${TANDREL_DLL_LOOKUP})
foreach(folder IN LISTS TANDREL_DLL_FOLDERS)
    file(GLOB dlls ${folder}/*.dll)
    foreach(dll IN LISTS dlls)
        cmake_path(GET dll FILENAME name)
        string(TOLOWER "${name}" name)
        if(NOT EXISTS ${TANDREL_DLL_LOOKUP}/${name})
            file(CREATE_LINK ${dll} ${TANDREL_DLL_LOOKUP}/${name} SYMBOLIC)
        endif()
    endforeach()
endforeach()

set(scanned_plugins)
foreach(plugin IN LISTS TANDREL_QT_PLUGINS)
    list(APPEND scanned_plugins "$<TARGET_FILE:${plugin}>")
endforeach()
install(CODE "
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND \"${CMAKE_OBJDUMP}\")
    set(TANDREL_PROGRAM \"$<TARGET_FILE:tandrel>\")
    set(TANDREL_PLUGINS \"${scanned_plugins}\")
    set(TANDREL_INSTALLED_PLUGINS \"${TANDREL_INSTALLED_PLUGINS}\")
    set(TANDREL_DLL_LOOKUP \"${TANDREL_DLL_LOOKUP}\")
    set(TANDREL_STRIP \"${CMAKE_STRIP}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/install_dlls.cmake)
