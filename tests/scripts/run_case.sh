#!/usr/bin/env bash
# Runs one script case: run_case.sh MORVANE_CLI CASE.mvs
#
# The script runs in a fresh temporary folder (which holds a copy of the script, and "data", a
# link to the test data), so that the files it writes land there and error lines name the
# script as NAME.mvs wherever the sources are. Then compares, beside the script:
#   NAME.out     standard output (required)
#   NAME.rc      the exit status (default 0)
#   NAME.err     standard error (when present; otherwise it must be empty for status 0)
#   NAME.sha256  lines "HASH  FILE" of files the script wrote, checked with sha256sum -c
# and prints a diff of whatever differs.
set -u

if [ $# -ne 2 ]; then
    echo "usage: $0 MORVANE_CLI CASE.mvs" >&2
    exit 2
fi
cli=$(readlink -f "$1")
script=$(readlink -f "$2")
dir=$(dirname "$script")
name=$(basename "$script" .mvs)
data=$(readlink -f "$dir/../data")

work=$(mktemp -d "${TMPDIR:-/tmp}/morvane-case-$name.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$script" "$work/$name.mvs"
if [ -d "$data" ]; then
    ln -s "$data" "$work/data"
fi

cd "$work" || exit 1
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
"$cli" run "$name.mvs" >"$work/stdout.raw" 2>"$work/stderr"
status=$?
# Whole paths of the files the script names (a drop, the recent list) begin with the folder,
# which differs on every run: it reads WORK in the expected output.
sed "s|$(pwd -P)|WORK|g" "$work/stdout.raw" >"$work/stdout"

failed=0
if [ ! -f "$dir/$name.out" ]; then
    echo "missing $dir/$name.out; the output was:"
    cat "$work/stdout"
    failed=1
elif ! diff -u --label "expected $name.out" --label "standard output" \
        "$dir/$name.out" "$work/stdout"; then
    failed=1
fi

expected_status=0
if [ -f "$dir/$name.rc" ]; then
    expected_status=$(tr -d '[:space:]' <"$dir/$name.rc")
fi
if [ "$status" != "$expected_status" ]; then
    echo "exit status $status, expected $expected_status"
    failed=1
fi

if [ -f "$dir/$name.err" ]; then
    if ! diff -u --label "expected $name.err" --label "standard error" \
            "$dir/$name.err" "$work/stderr"; then
        failed=1
    fi
elif [ "$expected_status" = 0 ] && [ -s "$work/stderr" ]; then
    echo "unexpected standard error:"
    cat "$work/stderr"
    failed=1
fi

if [ -f "$dir/$name.sha256" ]; then
    if ! sha256sum --quiet -c "$dir/$name.sha256"; then
        failed=1
    fi
fi

if [ "$failed" != 0 ]; then
    echo "FAILED: $name (ran in $work; standard error follows)"
    cat "$work/stderr"
    exit 1
fi
exit 0
