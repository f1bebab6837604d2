# Run by cpack once the install rules have filled its staging folder, before it
# packs it. The folders the install created have the modes that the umask of
# whoever ran cpack allowed; a package records them, so each gets 0755.
file(CHMOD_RECURSE "${CPACK_TEMPORARY_DIRECTORY}" DIRECTORY_PERMISSIONS
     OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
