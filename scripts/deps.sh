# Installs the Debian packages that building, running and testing Morvane need.
# Sourced by run.sh and test.sh; idempotent and non-interactive.

MORVANE_PACKAGES=(
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core
  portaudio19-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  jackd2 libjack-jackd2-dev
  librtmidi-dev libasound2-dev libsndfile1-dev libfftw3-dev
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
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo -E apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
