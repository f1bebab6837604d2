# Fills the C: drive of the Wine prefix in WINEPREFIX for the Windows package
# tests (windows_package_test_win32.cpp): the zip unpacked, the installer,
# and with -DOLDER=1 an older installer that CPack makes from the same build
# tree with version 0.9.0 and one file more, older-only.txt.
#   cmake -DBUILD=<build tree> -DZIP=<zip> -DSETUP=<installer> [-DOLDER=1] \
#         -P prepare_windows_packages.cmake
set(packages "$ENV{WINEPREFIX}/drive_c/users/Public/Desktop/Tandrel packages")
file(REMOVE_RECURSE "${packages}")
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION "${packages}/unzipped")
file(COPY_FILE ${SETUP} "${packages}/setup.exe")
if(NOT OLDER)
    return()
endif()
set(older ${BUILD}/older-package)
file(REMOVE_RECURSE ${older})
file(WRITE ${older}/extra/older-only.txt "A file that only the older version installs.\n")
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config ${BUILD}/CPackConfig.cmake -G NSIS
                        -B ${older} -D CPACK_PACKAGE_VERSION=0.9.0
                        -D "CPACK_INSTALLED_DIRECTORIES=${older}/extra;."
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(COPY_FILE ${older}/corvanelle-tandrel-0.9.0-setup.exe "${packages}/older-setup.exe")
