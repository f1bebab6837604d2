# The MinGW-w64 toolchain for a build against Qt for Windows: its programs
# load Qt's DLLs, which use the MinGW runtime DLLs, so they use those same
# DLLs instead of carrying a second, static copy of the C++ runtime.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
set(CMAKE_EXE_LINKER_FLAGS_INIT "")
