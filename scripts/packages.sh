# The Debian packages the project builds with, by purpose. Sourced by the scripts.
BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config ccache)
QT_PACKAGES=(qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev fonts-dejavu-core)
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev desktop-file-utils dpkg-dev
    lintian appstream man-db xvfb openbox x11-utils
    dbus-daemon at-spi2-core python3-pyatspi xdotool)
STATIC_PACKAGES=(clang clang-tidy clang-format cppcheck)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
WINDOWS_PACKAGES=(googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 fonts-wine
    locales xvfb openbox x11-utils xdotool imagemagick python3 nsis zip unzip)
# What scripts/build-qt-windows.sh needs to build Qt for Windows.
QT_WINDOWS_BUILD_PACKAGES=(cmake ninja-build ccache xz-utils dpkg-dev patch g++-mingw-w64-x86-64-posix
    qt6-base-dev qt6-base-dev-tools)
