# Installs the Debian packages that building, running and testing Morvane need.
# Sourced by run.sh and test.sh; idempotent and non-interactive. Works as root and, for any
# other user, through sudo.

MORVANE_PACKAGES=(
  g++ cmake ninja-build ccache pkg-config dpkg-dev
  qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core
  portaudio19-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format libclang-rt-14-dev
  jackd2 libjack-jackd2-dev
  librtmidi-dev libasound2-dev libsndfile1-dev libfftw3-dev libmuparser-dev
  desktop-file-utils appstream librsvg2-bin shared-mime-info
  g++-aarch64-linux-gnu qemu-user
)

morvane_install_deps() {
  local missing=()
  local p
  for p in "${MORVANE_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  # As root apt-get runs directly; otherwise through sudo, which must be told the environment
  # variable itself because it resets the environment.
  local run=(env DEBIAN_FRONTEND=noninteractive)
  if [ "$(id -u)" -ne 0 ]; then
    run=(sudo DEBIAN_FRONTEND=noninteractive)
  fi
  "${run[@]}" apt-get update -qq
  "${run[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
