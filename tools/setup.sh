#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs the Debian packages that are missing (with
# apt-get, as root), configures the Release build in build/ once and brings it up to date.
# Quick when nothing changed. Sourced with the repository root as $QUORVEL_ROOT.
set -euo pipefail

QUORVEL_ROOT=${QUORVEL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
QUORVEL_BUILD=${QUORVEL_BUILD:-$QUORVEL_ROOT/build}

quorvel_packages=(
  g++ make cmake pkg-config ccache
  qt6-base-dev libgl-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev libpcg-cpp-dev
  clang clang-format libclang-rt-14-dev xvfb xauth
  desktop-file-utils
  qt6-tools-dev qt6-l10n-tools qt6-charts-dev libqt6opengl6-dev fonts-liberation2
  qt6-translations-l10n
)

quorvel_install_missing() {
  local missing=()
  local p
  for p in "${quorvel_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Every build goes through ccache, so a second run on the same machine recompiles nothing that
# did not change. Paths below the repository are hashed relative to it, so a fresh clone in
# another folder finds the same cache entries.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$QUORVEL_ROOT}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
quorvel_cmake_launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

quorvel_build() {
  if [ ! -f "$QUORVEL_BUILD/CMakeCache.txt" ]; then
    cmake -S "$QUORVEL_ROOT" -B "$QUORVEL_BUILD" -DCMAKE_BUILD_TYPE=Release \
      "${quorvel_cmake_launcher[@]}" "$@"
  fi
  cmake --build "$QUORVEL_BUILD" -j "$(nproc)"
}

quorvel_install_missing
quorvel_build
