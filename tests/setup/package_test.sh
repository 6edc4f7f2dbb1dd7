#!/usr/bin/env bash
# Builds the Debian package from a build folder's programs (no new build) and reads it back
# with dpkg-deb: the files under the prefix and a Depends worked out from the libraries.
#   package_test.sh BUILD_FOLDER PREFIX APP_ID
set -u
build=$(readlink -f "$1")
prefix=${2#/}
id=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/morvane-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "$*"; failed=1; }

if ! (cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work" >cpack.log 2>&1); then
  cat "$work/cpack.log"
  exit 1
fi
shopt -s nullglob
debs=("$work"/morvane_*.deb)
[ ${#debs[@]} -eq 1 ] || { echo "expected one morvane_*.deb, found: ${debs[*]}"; exit 1; }
deb=${debs[0]}

info=$(dpkg-deb --info "$deb")
depends=$(dpkg-deb --field "$deb" Depends)
[ "$(dpkg-deb --field "$deb" Package)" = morvane ] || fail "Package is not morvane"
[ -n "$depends" ] || fail "Depends is empty"
# What the programs link, as dpkg-shlibdeps names it.
for lib in libc6 libqt6widgets6 libportaudio2 librtmidi6 libsndfile1; do
  case "$depends" in *"$lib "* | *"$lib," | *"$lib") ;; *) fail "Depends lacks $lib: $depends" ;; esac
done
echo "$info" | grep -q "^ Section: sound" || fail "Section is not sound"

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for file in \
  bin/morvane bin/morvane-cli share/morvane/help.txt share/morvane/docs/guide.md \
  "share/applications/$id.desktop" "share/icons/hicolor/scalable/apps/$id.svg" \
  "share/icons/hicolor/48x48/apps/$id.png" "share/icons/hicolor/256x256/apps/$id.png" \
  "share/mime/packages/$id.xml" "share/metainfo/$id.metainfo.xml"; do
  echo "$contents" | grep -qx "./$prefix/$file" || fail "the package lacks /$prefix/$file"
done

# The PNGs are the sizes their folders say.
dpkg-deb -x "$deb" "$work/root"
for size in 48 256; do
  png="$work/root/$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  got=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$got" = "${size}x${size}" ] || fail "the ${size} px icon is $got"
done
exit $failed
