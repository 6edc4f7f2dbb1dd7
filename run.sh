#!/usr/bin/env bash
# Installs the dependencies, builds a Release build and starts the editor. Without a display it
# says so, renders the window offscreen to a PNG and prints the PNG's path.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
morvane_install_deps

# Paths relative to the checkout, so that the compiler cache serves every clone of it.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVANE_BENCH=OFF >/dev/null
cmake --build build-release -j "$(nproc)" --target morvane morvane-cli

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec ./build-release/morvane
fi

png="$PWD/build-release/morvane-window.png"
echo "No display found: rendering the window offscreen instead."
printf 'save-window "%s"\n' "$png" | QT_QPA_PLATFORM=offscreen ./build-release/morvane-cli run - >/dev/null
echo "$png"
