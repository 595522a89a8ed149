#!/usr/bin/env bash
# Sets everything up and runs every test through ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
source "$root/tools/setup.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
