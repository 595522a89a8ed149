#!/usr/bin/env bash
# The documented look of the window: starts the window tests' screenshot case under a virtual
# X server (xvfb-run), where it opens the windows, picks examples/plot7.txt, presses "Старт"
# with 100 runs and saves docs/screenshots/main_window.png, plot_window.png, both_windows.png and
# convergence_chart.png, then the same in English as main_window_en.png, plot_window_en.png,
# both_windows_en.png and convergence_chart_en.png.
# It also prints the attempts per second of a Start with live drawing on that display.
#
#   tools/screenshot.sh [build-dir]     (default: build, as ./test.sh leaves it)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-build}"
[[ "$build" = /* ]] || build="$root/$build"
tests="$build/bin/ui_tests"
if [[ ! -x "$tests" ]]; then
  echo "no $tests: build it first (cmake --build $build --target ui_tests)" >&2
  exit 1
fi

export QUORVEL_SCREENSHOT_DIR="$root/docs/screenshots"
export QT_QPA_PLATFORM=xcb
export QUORVEL_SPEED_RUNS="${QUORVEL_SPEED_RUNS:-200}"
# 96 dots per inch, so that the designed twips give the designed pixels.
xvfb-run -a -s "-screen 0 1400x800x24 -dpi 96" \
  "$tests" --gtest_filter='Screenshot.*:WindowSpeed.*'
QUORVEL_SCREENSHOT_LANGUAGE=en xvfb-run -a -s "-screen 0 1400x800x24 -dpi 96" \
  "$tests" --gtest_filter='Screenshot.*'
echo "screenshots in $QUORVEL_SCREENSHOT_DIR:"
ls -l "$QUORVEL_SCREENSHOT_DIR"
