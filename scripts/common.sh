#!/usr/bin/env bash
# Shared by scripts/run, scripts/test and scripts/bench: installs the Debian
# packages the project needs (only those missing) and configures/builds a tree.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

PACKAGES=(
  build-essential cmake pkg-config ccache
  libwxgtk3.2-dev libpugixml-dev libicu-dev libblkid-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  xvfb xauth fonts-wqy-microhei imagemagick xorriso xdg-utils xdotool
  dpkg-dev file desktop-file-utils appstream lintian librsvg2-bin shared-mime-info libglib2.0-bin
)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# configure_and_build DIR BUILD_TYPE [extra cmake args...]
configure_and_build() {
  local dir="$1" type="$2"; shift 2
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "${launcher[@]}" "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
