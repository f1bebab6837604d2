# The MinGW-w64 toolchain for a build against Qt for Windows. Its programs
# load Qt's DLLs, which use the MinGW runtime DLLs, so they use those same
# DLLs rather than a second, static copy of the C++ runtime. The tests run
# their programs under Wine through the launcher of tests/wine/.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
