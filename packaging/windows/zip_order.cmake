# Run by cpack after it has made the zip. CPack adds a folder's files in the
# order the file system lists them, which differs between file systems (by
# name hash on ext4): the zip is written again with the same files, times and
# modes in sorted order, so that it has the same bytes wherever it is made.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.zip$")
        continue()
    endif()
    cmake_path(GET CPACK_TEMPORARY_DIRECTORY PARENT_PATH above)
    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${above}"
         "${CPACK_TEMPORARY_DIRECTORY}/*") # sorted
    list(JOIN files "\n" files)
    file(WRITE "${above}/zip-order.txt" "${files}\n")
    string(TIMESTAMP time "%Y-%m-%d %H:%M:%S UTC" UTC) # SOURCE_DATE_EPOCH when set
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${package}" --format=zip
                            "--mtime=${time}" "--files-from=${above}/zip-order.txt"
                    WORKING_DIRECTORY "${above}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
