#!/usr/bin/env bash
# Renews docs/images/waterfall.png and docs/images/spectrogram.png from the recipe
# docs/recipes/sine-to-saw.mvs, with the morvane-cli of a build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$(readlink -f "${1:-build}/morvane-cli")
out=$(readlink -f docs/images)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp docs/recipes/sine-to-saw.mvs "$work/"
(cd "$work" && QT_QPA_PLATFORM=offscreen "$cli" run sine-to-saw.mvs)
cp "$work/waterfall.png" "$work/spectrogram.png" "$out/"
echo "$out/waterfall.png $out/spectrogram.png"
