#!/usr/bin/env bash
# Builds the Debian package: installs the dependencies, makes a Release build for /usr in
# build-package/ (without tests or benchmarks) and packs it with CPack's DEB generator. The
# package lands in this folder as morvane_VERSION_ARCH.deb; install it with
#   sudo apt-get install ./morvane_*.deb
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
morvane_install_deps

export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DMORVANE_TESTS=OFF -DMORVANE_BENCH=OFF >/dev/null
cmake --build build-package -j "$(nproc)"
rm -f build-package/morvane_*.deb
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls build-package/morvane_*.deb)
mv -f "$deb" .
echo "$PWD/$(basename "$deb")"
