#!/usr/bin/env bash
# Renews every picture of the user guide (docs/images/*.png) from the real window.
#
#     scripts/make-guide-pictures.sh [MORVANE_CLI]
#
# MORVANE_CLI defaults to build/morvane-cli (build it first: cmake --build build --target
# morvane-cli). Each picture comes from a `morvane-cli run` recipe below, using the actions
# save-window (the whole window), save-graph (the 384 x 384 graph) and save-overview (the
# 128 x 129 overview). The window is drawn on Qt's offscreen platform, so no display is needed;
# the fonts are the machine's, so run it where the guide's pictures should look right and commit
# the result. Run it again after any change to the window or the drawing.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cli=$(readlink -f "${1:-$here/build/morvane-cli}")
images="$here/docs/images"
if [ ! -x "$cli" ]; then
    echo "no morvane-cli at $cli; build it or name it as the first argument" >&2
    exit 2
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/morvane-guide.XXXXXX")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

# recipe NAME: runs the recipe read from standard input in the work folder.
recipe() {
    (cd "$work" && "$cli" run - >"$work/$1.out") || {
        echo "recipe $1 failed" >&2
        exit 1
    }
}

recipe window <<'MVS'
# The window as it starts.
clock 12:00:00.000
save-window window.png
MVS

recipe first-table <<'MVS'
# First steps: wave 64 becomes a saw, Morph blends waves 1 to 64; wave 32 is shown.
clock 12:00:00.000
set edtName "Sine to Saw"
set lbWaveTableIndex "64. Wave"
set cmbWave Saw
set cmbAmplitude 1/1
set chbAddtoexisting off
click btnAdd
click btnMorph
set lbWaveTableIndex "32. Wave"
save-window first-table.png
save-overview first-table-overview.png
MVS

recipe drawing <<'MVS'
# A fast stroke over wave 1, then the sample range 33 to 96.
clock 12:00:00.000
mouse down 30 300
mouse move 150 60
mouse move 300 330
mouse up 300 330
save-graph stroke.png
set ScrollBar1 32
set ScrollBar2 95
save-graph sample-range.png
MVS

recipe harmonics <<'MVS'
# The third harmonic added to the sine of wave 1.
clock 12:00:00.000
set cmbAmplitude 1/3
click btnAdd
save-graph harmonics.png
MVS

recipe motion <<'MVS'
# The start-up motion path, and the table after Make motion! with FX width 20.
clock 12:00:00.000
key F2
save-graph motion-path.png
set trbSensitivity 20
click btnMakeWTMotion
save-overview motion-overview.png
MVS

mkdir -p "$images"
for picture in "$work"/*.png; do
    cp "$picture" "$images/"
    echo "docs/images/$(basename "$picture")"
done
