# How Qt for Windows is configured: an initial cache for Qt's own CMake
# (cmake -C), read by scripts/build-qt-windows.sh. Its text is part of the
# build's cache key, so any change here builds Qt again.
#
# Only what the game and its tests use is built: a shorter build, where a
# machine without the cache has to wait for it. Shared libraries, as Qt's own
# deployment ships a program (see the README).
set(BUILD_SHARED_LIBS ON CACHE BOOL "")
set(CMAKE_BUILD_TYPE Release CACHE STRING "")
set(QT_BUILD_EXAMPLES OFF CACHE BOOL "")
set(QT_BUILD_TESTS OFF CACHE BOOL "")
# Debian's host tools (moc, rcc, uic) do the code generation.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

foreach(feature
        # Modules.
        sql network dbus opengl printsupport concurrent xml vulkan
        # Debian's source leaves out the tablet header the windows platform needs.
        tabletevent
        # Plugins the game does not ship: the Direct2D platform (Direct2D
        # itself stays, Gui's DirectWrite fonts need it) and the image formats.
        direct2d1_1 jpeg gif ico
        # Widgets, dialogs and document formats the game does not use (the
        # Vista style needs the input dialog).
        graphicsview filedialog colordialog fontdialog wizard mdiarea calendarwidget
        datetimeedit dial lcdnumber fontcombobox keysequenceedit splashscreen toolbox
        columnview datawidgetmapper errormessage commandlinkbutton undoview textodfwriter
        pdf movie)
    set(FEATURE_${feature} OFF CACHE BOOL "")
endforeach()
