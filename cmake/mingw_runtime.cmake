# Where the MinGW runtime DLLs that the programs and Qt for Windows load are:
# the compiler knows.

# Sets <out> to the real path of the MinGW runtime DLL <dll>.
function(tandrel_mingw_runtime_dll dll out)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    file(REAL_PATH "${found}" found)
    set(${out} ${found} PARENT_SCOPE)
endfunction()

# Sets <out> to the folders of the MinGW runtime DLLs: the C++ runtime's and
# winpthreads'.
function(tandrel_mingw_runtime_folders out)
    set(folders)
    foreach(dll libstdc++-6.dll libwinpthread-1.dll)
        tandrel_mingw_runtime_dll(${dll} found)
        cmake_path(GET found PARENT_PATH folder)
        list(APPEND folders ${folder})
    endforeach()
    set(${out} ${folders} PARENT_SCOPE)
endfunction()
