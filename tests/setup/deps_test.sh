#!/usr/bin/env bash
# Runs morvane_install_deps from scripts/deps.sh with stand-ins for id, dpkg-query, apt-get and
# sudo first on PATH, as root and as a normal user, and checks the commands it ran, in order.
#   deps_test.sh PATH/TO/deps.sh
set -u
deps=$(readlink -f "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/morvane-deps.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
log="$work/calls"

# id -u answers FAKE_UID. dpkg-query calls every package in FAKE_INSTALLED installed. apt-get
# and sudo write one line each: their name, DEBIAN_FRONTEND as they see it, their arguments;
# sudo then runs the rest of its command line as sudo does (VAR=value words first).
cat >"$work/bin/id" <<'STUB'
#!/bin/sh
[ "$1" = "-u" ] && echo "$FAKE_UID"
STUB
cat >"$work/bin/dpkg-query" <<'STUB'
#!/bin/sh
for last; do :; done
for p in $FAKE_INSTALLED; do
  [ "$p" = "$last" ] && { printf 'install ok installed'; exit 0; }
done
echo "dpkg-query: no packages found matching $last" >&2
exit 1
STUB
cat >"$work/bin/apt-get" <<'STUB'
#!/bin/sh
echo "apt-get [${DEBIAN_FRONTEND:-}] $*" >>"$FAKE_LOG"
STUB
cat >"$work/bin/sudo" <<'STUB'
#!/bin/sh
echo "sudo [${DEBIAN_FRONTEND:-}] $*" >>"$FAKE_LOG"
exec env "$@"
STUB
chmod +x "$work/bin/"*

failed=0
run() { # uid, installed packages; leaves the calls in $log and the expected packages in $want
  : >"$log"
  env -i PATH="$work/bin:/usr/bin:/bin" FAKE_UID="$1" FAKE_INSTALLED="$2" FAKE_LOG="$log" \
    bash -c 'source "$1" && morvane_install_deps >/dev/null' _ "$deps"
  local status=$?
  if [ $status -ne 0 ]; then
    echo "morvane_install_deps exited $status (uid $1)"
    failed=1
  fi
  # shellcheck disable=SC1090
  want=$(source "$deps" && for p in "${MORVANE_PACKAGES[@]}"; do
    case " $2 " in *" $p "*) ;; *) printf ' %s' "$p" ;; esac
  done)
}
expect() { # case name, expected calls
  if ! diff -u --label "expected ($1)" --label "called ($1)" <(if [ -n "$2" ]; then printf '%s\n' "$2"; fi) "$log"; then
    failed=1
  fi
}

# As root: apt-get directly, told to ask nothing, no sudo at all; g++ and cmake are there.
run 0 "g++ cmake"
case "$want " in *" g++ "* | *" cmake "*) echo "installed packages asked for again"; failed=1 ;; esac
expect root "apt-get [noninteractive] update -qq
apt-get [noninteractive] install -y -qq --no-install-recommends$want"

# As a normal user: every apt-get through sudo, which passes DEBIAN_FRONTEND on.
run 1000 ""
expect user "sudo [] DEBIAN_FRONTEND=noninteractive apt-get update -qq
apt-get [noninteractive] update -qq
sudo [] DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends$want
apt-get [noninteractive] install -y -qq --no-install-recommends$want"

# Everything installed: nothing is run.
all=$(source "$deps" && echo "${MORVANE_PACKAGES[*]}")
run 1000 "$all"
expect complete ""

exit $failed
