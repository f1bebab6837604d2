# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (the
# "posix" thread model, so that std::thread and std::mutex are available).
# Qt for Windows is built with this file too (scripts/build-qt-windows.sh),
# and its text is part of that build's cache key: it says which compilers
# and which target, nothing about how the project links or runs its tests.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TANDREL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TANDREL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TANDREL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TANDREL_MINGW_TRIPLET}-windres)

# Headers, libraries and packages come from the target's root only (and from
# prefixes named by <Package>_DIR); build tools come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TANDREL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
