#!/bin/sh
# Builds the Debian package: build-package/q540_VERSION_amd64.deb, for
# `sudo apt install ./build-package/q540_VERSION_amd64.deb`.
set -eu
cd "$(dirname "$0")/.."
. tools/packages.sh
# shellcheck disable=SC2086
sh tools/install-packages.sh $PACKAGE_PACKAGES
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DQ540_BUILD_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr
cmake --build build-package -j "$(nproc)"
(cd build-package && cpack -G DEB)
ls build-package/q540_*_*.deb
