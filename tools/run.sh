#!/bin/sh
# Installs what the program needs, builds it and starts it with the demo module.
set -eu
cd "$(dirname "$0")/.."
. tools/packages.sh
# shellcheck disable=SC2086
sh tools/install-packages.sh $BUILD_PACKAGES
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQ540_BUILD_TESTS=OFF
cmake --build build
# The demo module stands in for the cable; ./build/src/app/q540 uses the real one.
exec ./build/src/app/q540-demo "$@"
