#!/usr/bin/env bash
# Shared by scripts/run, scripts/test and scripts/bench: installs the Debian
# packages the project needs (only those missing) and configures/builds a tree.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

PACKAGES=(
  build-essential cmake pkg-config ccache
  libwxgtk3.2-dev libpugixml-dev libicu-dev libblkid-dev libglib2.0-dev
  libxxhash-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libarchive-dev libudf-dev libcdio-dev udftools genisoimage libarchive-tools python3
  dosfstools exfatprogs ntfs-3g
  libcli11-dev nlohmann-json3-dev
  xvfb xauth x11-utils fonts-wqy-microhei imagemagick xorriso xdg-utils xdotool
  clang libclang-rt-14-dev libfuzzer-14-dev
  wx3.2-i18n libgtk-3-common
  dpkg-dev file unzip desktop-file-utils appstream lintian librsvg2-bin shared-mime-info libglib2.0-bin
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

# fuzz_targets SECONDS: builds the libFuzzer targets (clang, sanitizers) and
# runs each for SECONDS on a copy of its seeds in fuzz/corpus/<target>/, so
# the seeds in the repository stay as they are. Fails at the first finding.
fuzz_targets() {
  local seconds="$1" dir="$ROOT/build/fuzz"
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOVRA_FUZZ=ON \
    -DMOVRA_GUI=OFF -DMOVRA_TESTS=OFF -DMOVRA_BENCH=OFF "${launcher[@]}" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
  local target name work
  for target in "$dir"/bin/*_fuzz; do
    name="$(basename "$target" _fuzz)"
    work="$dir/corpus/$name"
    mkdir -p "$work" "$dir/findings"
    [ -d "$ROOT/fuzz/corpus/$name" ] && cp -n "$ROOT/fuzz/corpus/$name"/* "$work"/ 2>/dev/null || true
    echo "== fuzz $name (${seconds} s)"
    if ! "$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=1024 \
      -artifact_prefix="$dir/findings/$name-" -print_final_stats=1 "$work" >"$dir/$name.log" 2>&1; then
      tail -n 40 "$dir/$name.log"
      echo "fuzz $name found a fault; its input is in $dir/findings/"
      return 1
    fi
    grep -E '^#[0-9]+[[:space:]]+DONE' "$dir/$name.log" | tail -n 1 || true
  done
}
