#!/usr/bin/env bash
# Sets everything up and starts Quorvel.
#   ./run.sh                 the window, with examples/ as its working directory
#   ./run.sh --batch ARGS    the batch front end (quorvel-batch ARGS) in the current directory
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
source "$root/tools/setup.sh" >&2

if [ "${1:-}" = "--batch" ]; then
  shift
  exec "$root/build/bin/quorvel-batch" "$@"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run.sh: no display found (DISPLAY is not set). Start it from a desktop session," >&2
  echo "        or try: xvfb-run ./run.sh, or ./run.sh --batch --help" >&2
  exit 1
fi
cd "$root/examples"
exec "$root/build/bin/quorvel" "$@"
