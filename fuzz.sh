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
targets="syx_load midi_scan wav_read exchange_import settings_file midi_settings script_parser"
ninja -C "$build" $(for t in $targets; do printf 'fuzz_%s ' "$t"; done)

mkdir -p "$here/fuzz/artifacts"
status=0
# Leaks inside system libraries are not ours to fix (see fuzz/lsan.supp).
export LSAN_OPTIONS="suppressions=$here/fuzz/lsan.supp"
for target in $targets; do
    work="$here/fuzz/corpus-$target"
    mkdir -p "$work"
    echo "== $target: $seconds s"
    # libsndfile's Vorbis reader leaks on most damaged streams; checking every one for leaks
    # would slow the run to a crawl. The ctest replay of the corpus still checks for leaks.
    leaks=1
    [ "$target" = exchange_import ] && leaks=0
    if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$here/fuzz/artifacts/$target-" -max_len=70000 -detect_leaks=$leaks \
        "$work" "$here/fuzz/corpus/$target"; then
        status=1
    fi
done
exit $status
