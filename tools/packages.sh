# The Debian packages the program builds and runs with (Qt's own translations among them); the
# test command adds its own.
BUILD_PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libicu-dev fonts-dejavu-core qt6-translations-l10n"
# clang and its runtime libraries (libFuzzer among them, only recommended by clang) build
# the fuzz targets; Xvfb gives the GUI tests that need a real X server one.
TEST_PACKAGES="$BUILD_PACKAGES clang-format clang libclang-rt-14-dev xvfb xauth"
