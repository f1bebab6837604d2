# Run by cpack once the install rules have filled its staging folder, before it
# packs it, so that what it packs is the same whoever packs it and when:
# - a package records the modes of its folders, which the umask of whoever ran
#   cpack narrowed: each gets 0755;
# - NSIS stores each file's time, the time its source file was checked out or
#   built: each gets SOURCE_DATE_EPOCH (always set by cpack_options.cmake), as
#   CPack's archives do.
file(CHMOD_RECURSE "${CPACK_TEMPORARY_DIRECTORY}" DIRECTORY_PERMISSIONS
     OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(GLOB_RECURSE entries LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
execute_process(COMMAND touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" ${entries}
                COMMAND_ERROR_IS_FATAL ANY)
