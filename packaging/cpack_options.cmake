# Read by cpack for each package it makes, before it installs the files into
# its staging folder.

# The same sources make the same bytes: every time stamp in a package is the
# time of the last commit (CPack dates archive members by SOURCE_DATE_EPOCH,
# and strip stamps the Windows programs it strips with it), unless the caller
# chose a time. Outside a git checkout it is the time the build tree was
# configured, so that the zip and the installer still hold the same files.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git -C "${CPACK_TANDREL_SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE status ERROR_QUIET)
    if(NOT status EQUAL 0 OR NOT commit_time)
        message(WARNING "Not a git checkout: the packages are dated by the configure time")
        set(commit_time ${CPACK_TANDREL_CONFIGURE_TIME})
    endif()
    set(ENV{SOURCE_DATE_EPOCH} "${commit_time}")
endif()
# A zip stores local times.
set(ENV{TZ} UTC)

if(CPACK_GENERATOR STREQUAL "ZIP")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-win64")
elseif(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-setup")
endif()
