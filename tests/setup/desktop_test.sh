#!/usr/bin/env bash
# The desktop files as the desktop's own tools read them: desktop-file-validate, appstreamcli
# and update-mime-database, plus what the entry must say.
#   desktop_test.sh DESKTOP_FOLDER APP_ID
set -u
dir=$1
id=$2
failed=0
fail() { echo "$*"; failed=1; }

desktop-file-validate "$dir/$id.desktop" || fail "desktop-file-validate refused $id.desktop"
appstreamcli validate --no-net "$dir/$id.metainfo.xml" || fail "appstreamcli refused the metainfo"

entry() { sed -n "s/^$1=//p" "$dir/$id.desktop"; }
[ "$(entry GenericName)" = "Wavetable Editor" ] || fail "GenericName is '$(entry GenericName)'"
[ "$(entry Categories)" = "AudioVideo;Audio;Music;" ] || fail "Categories is '$(entry Categories)'"
[ "$(entry Icon)" = "$id" ] || fail "Icon is '$(entry Icon)'"
case "$(entry Exec)" in *" %F") ;; *) fail "Exec does not take files: '$(entry Exec)'" ;; esac
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$dir/$id.metainfo.xml" ||
  fail "the metainfo does not launch $id.desktop"

# The type the entry opens is the one the MIME package gives ".syx" files.
work=$(mktemp -d "${TMPDIR:-/tmp}/morvane-mime.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/mime/packages"
cp "$dir/$id.xml" "$work/mime/packages/"
# (It notes on standard error that the folder is not one the desktop searches.)
update-mime-database "$work/mime" 2>"$work/notes" || { cat "$work/notes"; fail "update-mime-database refused $id.xml"; }
grep -qx '50:audio/x-sysex:\*\.syx' "$work/mime/globs2" || fail "no glob *.syx in globs2"
case ";$(entry MimeType)" in *";audio/x-sysex;"*) ;; *) fail "the entry does not open audio/x-sysex" ;; esac
exit $failed
