# The Debian packages the program builds with; the test command adds its own.
BUILD_PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libicu-dev fonts-dejavu-core"
TEST_PACKAGES="$BUILD_PACKAGES clang-format"
