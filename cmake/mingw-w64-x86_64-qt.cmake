# The MinGW-w64 toolchain for a build against Qt for Windows. Its programs
# load Qt's DLLs, which use the MinGW runtime DLLs, so they use those same
# DLLs rather than a second, static copy of the C++ runtime. Test programs
# run under Wine through scripts/wine-run.sh, so that ctest and
# gtest_discover_tests work from the Linux host.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
