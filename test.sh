#!/usr/bin/env bash
# Installs the dependencies, builds, and runs every test: the normal build, then the tests again
# under AddressSanitizer + UndefinedBehaviorSanitizer, and the audio and MIDI tests under
# ThreadSanitizer, and the Qt-free core's unit tests cross-built for arm64 and run under
# qemu-aarch64. Exits non-zero when any test fails.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
morvane_install_deps

export QT_QPA_PLATFORM=offscreen
# Paths relative to the checkout, so that the compiler cache serves every clone of it.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
jobs=$(nproc)
status=0

run_suite() { # name, build folder, ctest arguments...
  local name=$1 dir=$2
  shift 2
  echo "== $name"
  if ! ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@"; then
    status=1
  fi
}

# Formatting is mechanical: the committed .clang-format, over every C++ file of the project.
echo "== formatting"
if ! git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
    'fuzz/*.cpp' 'fuzz/*.h' | xargs clang-format --dry-run --Werror; then
  echo "clang-format: the files above are not formatted (run clang-format -i on them)"
  status=1
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_WERROR=ON
cmake --build build -j "$jobs"
run_suite "tests" build

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMORVANE_WERROR=ON \
  -DMORVANE_SANITIZE=address,undefined -DMORVANE_BENCH=OFF
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite "tests under AddressSanitizer and UndefinedBehaviorSanitizer" build-asan

cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMORVANE_WERROR=ON \
  -DMORVANE_SANITIZE=thread -DMORVANE_GUI=OFF -DMORVANE_BENCH=OFF
cmake --build build-tsan -j "$jobs"
# The audition voice (synth) runs on the sound device's thread and takes notes from the MIDI one.
TSAN_OPTIONS=halt_on_error=1 run_suite "audio, MIDI and audition tests under ThreadSanitizer" \
  build-tsan -L "audio|midi|synth"

# The same unit tests of the Qt-free core on arm64: the edits must give the same bytes there.
# Statically linked and run under qemu-user; GoogleTest built from Debian's sources.
cmake -S . -B build-arm64 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DMORVANE_GUI=OFF -DMORVANE_BENCH=OFF \
  -DMORVANE_SYSTEM_LIBS=OFF -DMORVANE_GTEST_SOURCE_DIR=/usr/src/googletest \
  "-DMORVANE_TEST_FOLDERS=document;files;edit;render;motion;ui;script"
cmake --build build-arm64 -j "$jobs"
run_suite "Qt-free core tests on arm64 under qemu-aarch64" build-arm64

exit $status
