# The Debian packages the program builds and runs with (Qt's own translations among them); the
# test command adds its own.
BUILD_PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libicu-dev fonts-dejavu-core qt6-translations-l10n"
# The package is made by CPack: dpkg-shlibdeps (dpkg-dev) finds the libraries it needs,
# with file telling the programs from the other files.
PACKAGE_PACKAGES="$BUILD_PACKAGES dpkg-dev file"
# clang and its runtime libraries (libFuzzer among them, only recommended by clang) build
# the fuzz targets; Xvfb gives the GUI tests that need a real X server one.
# desktop-file-utils and appstream check the menu entries and the metadata; lintian, the
# package; x11-utils finds the installed program's window; poppler-utils reads the printed
# PDF back.
TEST_PACKAGES="$PACKAGE_PACKAGES clang-format clang libclang-rt-14-dev xvfb xauth desktop-file-utils appstream lintian x11-utils poppler-utils"
