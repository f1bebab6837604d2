# Linux: installs the game the way desktops and Debian expect a game, and
# packs it as a .deb.
include(GNUInstallDirs)

# The desktop entry, the AppStream metadata and the icons share this id, so
# the menu and software centres find the icon and the metadata's program.
set(TANDREL_APP_ID org.example.tandrel)
set(TANDREL_ICON_DIR ${PROJECT_SOURCE_DIR}/app/icons)
set(TANDREL_HICOLOR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
set(TANDREL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${TANDREL_PACKAGE})

# Games live in their own folder beside bin, which Debian's PATH includes.
install(TARGETS tandrel RUNTIME DESTINATION games)
install(FILES ${TANDREL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TANDREL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${TANDREL_ICON_DIR}/tandrel-${size}.png
            DESTINATION ${TANDREL_HICOLOR}/${size}x${size}/apps RENAME ${TANDREL_APP_ID}.png)
endforeach()
install(FILES ${TANDREL_ICON_DIR}/tandrel.svg
        DESTINATION ${TANDREL_HICOLOR}/scalable/apps RENAME ${TANDREL_APP_ID}.svg)

# The manual page and the changelog are installed compressed, without a name
# or time stamp in the gzip header so that every build gives the same bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(TANDREL_COMPRESSED)
foreach(source tandrel.6 changelog)
    set(copy ${CMAKE_CURRENT_BINARY_DIR}/${source})
    add_custom_command(OUTPUT ${copy}.gz
                       COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${copy}
                       COMMAND ${GZIP_PROGRAM} -9nf ${copy}
                       DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source}
                       COMMENT "Compressing ${source}"
                       VERBATIM)
    list(APPEND TANDREL_COMPRESSED ${copy}.gz)
endforeach()
add_custom_target(tandrel_compressed_docs ALL DEPENDS ${TANDREL_COMPRESSED})
# So that building just the program is enough for `cmake --install`.
add_dependencies(tandrel tandrel_compressed_docs)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tandrel.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz copyright DESTINATION ${TANDREL_DOC_DIR})

set(CPACK_GENERATOR DEB)
# Each line at most 80 characters; the Debian control file keeps the breaks.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Six coloured boxes in two rows of three light up one at a time in a random\n"
    "order; click them back in the same order. Set how many boxes light up, from\n"
    "3 to 255, and how many seconds each stays lit.\n"
    "\n"
    "Every finished game adds a line with the date, the player's name and the\n"
    "score to a plain-text score log, and a scores window lists the whole log.")
set(CPACK_PACKAGE_CONTACT "${TANDREL_PUBLISHER} <tandrel@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tandrel.example.org/")
# dpkg-shlibdeps (dpkg-dev) works out the Qt and C++ runtime packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/deb_member_modes.cmake)
