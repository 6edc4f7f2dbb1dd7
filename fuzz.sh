#!/bin/sh
# Builds the libFuzzer targets with clang and runs each one for SECONDS (default 60) over a
# working copy of its seed corpus. New inputs go to fuzz/corpus-<target>/ (not committed);
# crashes to fuzz/artifacts/.
#   ./fuzz.sh [SECONDS]
set -eu
seconds=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
build="$here/build-fuzz"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMORVANE_FUZZ=ON -DMORVANE_SANITIZE=address,undefined -DMORVANE_GUI=OFF -DMORVANE_BENCH=OFF >/dev/null
ninja -C "$build" fuzz_syx_load fuzz_midi_scan fuzz_wav_read

mkdir -p "$here/fuzz/artifacts"
status=0
for target in syx_load midi_scan wav_read; do
    work="$here/fuzz/corpus-$target"
    mkdir -p "$work"
    echo "== $target: $seconds s"
    if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$here/fuzz/artifacts/$target-" -max_len=70000 \
        "$work" "$here/fuzz/corpus/$target"; then
        status=1
    fi
done
exit $status
