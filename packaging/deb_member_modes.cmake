# Run by cpack after it has made the .deb. The ar container of a .deb records
# a mode for each of its three members, which CPack takes from the files it
# wrote, that is from the umask of whoever ran cpack. Each gets 0644, as
# dpkg-deb writes them, so that the package's bytes do not depend on the umask.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.deb$")
        continue()
    endif()
    file(SIZE "${package}" size)
    set(header 8) # after the "!<arch>\n" magic
    while(header LESS size)
        # A member's header: name 16, time 12, owner 6, group 6, mode 8, size 10, end 2.
        file(READ "${package}" member_size OFFSET ${header} LIMIT 60)
        string(SUBSTRING "${member_size}" 48 10 member_size)
        string(STRIP "${member_size}" member_size)
        math(EXPR mode "${header} + 40")
        execute_process(COMMAND printf "100644  "
                        COMMAND dd "of=${package}" bs=1 seek=${mode} conv=notrunc status=none
                        COMMAND_ERROR_IS_FATAL ANY)
        # Members start at even offsets.
        math(EXPR header "${header} + 60 + (${member_size} + 1) / 2 * 2")
    endwhile()
endforeach()
