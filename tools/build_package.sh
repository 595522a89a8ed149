#!/usr/bin/env bash
# Builds the Debian package of Quorvel, build/quorvel_<version>_<arch>.deb, after the same set-up
# as ./run.sh (missing build packages installed, Release build in build/), and checks it.
#   tools/build_package.sh             make and check the package
#   tools/build_package.sh --install   also install it on this machine with apt-get
# On another Debian 12 machine, install the package with its dependencies by
#   sudo apt-get install ./quorvel_<version>_<arch>.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

install=0
case "${1:-}" in
  "") ;;
  --install) install=1 ;;
  *) echo "usage: tools/build_package.sh [--install]" >&2; exit 2 ;;
esac

# shellcheck source=tools/setup.sh
source "$root/tools/setup.sh"
build=$QUORVEL_BUILD

rm -f "$build"/quorvel_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/quorvel_*.deb)
"$root/tools/check_package.sh" "$build"

if [ $install -eq 1 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "$deb"
  echo "installed: $(quorvel-batch --version); the window is quorvel, in the menu as Quorvel"
else
  echo "package: $deb"
  echo "install it on a Debian 12 machine with: sudo apt-get install ./$(basename "$deb")"
fi
