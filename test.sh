#!/usr/bin/env bash
# Sets everything up, checks the source layout, runs every test through ctest, compares the
# figures of four builds (tools/cross_build_check.sh), then fuzzes each parser briefly.
#   ./test.sh              Release build in build/, every test, 20 s of fuzzing per target
#   ./test.sh --sanitize   the same, then the whole suite again built with AddressSanitizer
#                          and UndefinedBehaviorSanitizer in build-asan/ (what CI runs)
# See docs/hardening.md for the longer fuzz run and the sanitizer settings.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)

sanitize=false
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=true ;;
    *) echo "test.sh: unknown argument $arg (only --sanitize)" >&2; exit 2 ;;
  esac
done

source "$root/tools/setup.sh"
"$root/tools/check_format.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
# The same seeded Starts built with GCC and clang, at -O0 and with the Release flags, must give
# the same bits: an optimiser that bends the specified arithmetic fails here.
"$root/tools/cross_build_check.sh"

# libFuzzer needs clang; setup.sh installs it, but a machine without it still runs the rest.
if command -v clang++ >/dev/null 2>&1; then
  "$root/fuzz/run.sh" 20
else
  echo "test.sh: clang++ not found, fuzzing skipped"
fi

if $sanitize; then
  asan_build="$root/build-asan"
  # Leaks are reported (Qt's own are suppressed, see tools/lsan.supp); any report fails.
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:check_initialization_order=1"
  export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  if [ ! -f "$asan_build/CMakeCache.txt" ]; then
    # GCC leaves the float-to-integer conversions out of "undefined": they are added here.
    cmake -S "$root" -B "$asan_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_SANITIZE=ON \
      "${quorvel_cmake_launcher[@]}" \
      -DQUORVEL_BUILD_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="-fsanitize=float-cast-overflow -fno-sanitize-recover=float-cast-overflow"
  fi
  cmake --build "$asan_build" -j "$(nproc)"
  # A package of a sanitized build would rightly fail its dependency check: packaging is
  # tested by the Release pass above.
  ctest --test-dir "$asan_build" --output-on-failure -j "$(nproc)" -E '^Packaging\.'
fi
