# Read by cpack for each package it makes, before it installs the files into
# its staging folder.

# The same sources make the same bytes: every time stamp in a package is the
# time of the last commit (CPack dates archive members by SOURCE_DATE_EPOCH,
# and strip stamps the Windows programs it strips with it), unless the caller
# chose a time.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git -C "${CPACK_TANDREL_SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE status ERROR_QUIET)
    if(status EQUAL 0 AND commit_time)
        set(ENV{SOURCE_DATE_EPOCH} "${commit_time}")
    else()
        message(WARNING "Not a git checkout: the package's time stamps are today's")
    endif()
endif()
# A zip stores local times.
set(ENV{TZ} UTC)

if(CPACK_GENERATOR STREQUAL "ZIP")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-win64")
elseif(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-setup")
endif()
