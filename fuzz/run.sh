#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a bounded time.
#   fuzz/run.sh                  every target for 20 seconds (the smoke run of ./test.sh)
#   fuzz/run.sh 3600             every target for an hour
#   fuzz/run.sh 600 number_text  one target for ten minutes
# New inputs that reach new code are kept in build-fuzz/corpus/<target>, so a later run goes
# on from there; the seed corpus in fuzz/corpus/<target> is only read. A crash, a hang or a
# sanitizer report is copied to build-fuzz/findings/ and makes the script exit non-zero.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORVEL_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(inventory_reader tally_reader coefficients_reader text_to_number number_text strata_reader lines_reader)

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is not installed; no fuzzing" >&2
  exit 1
fi

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "${launcher[@]}" \
    -DQUORVEL_FUZZ=ON -DQUORVEL_BUILD_UI=OFF -DQUORVEL_BUILD_TESTS=OFF -DQUORVEL_BUILD_BENCH=OFF
else
  cmake "$build" >/dev/null # a target added since the last build must be known before it is asked for
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/%/_fuzz}"

# A single input may take at most 10 s; the whole run is cut off a minute after its time even
# if libFuzzer itself should stall.
status=0
mkdir -p "$build/findings"
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  artifacts=$(mktemp -d)
  mkdir -p "$corpus"
  dictionary=()
  [ -f "$root/fuzz/$target.dict" ] && dictionary=(-dict="$root/fuzz/$target.dict")
  echo "fuzz: $target for ${seconds}s"
  set +e
  timeout --kill-after=10 $((seconds + 60)) "$build/bin/${target}_fuzz" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    "${dictionary[@]}" \
    -artifact_prefix="$artifacts/" "$corpus" "$root/fuzz/corpus/$target" \
    >"$build/$target.log" 2>&1
  result=$?
  set -e
  grep -E '^(stat::number_of_executed_units|stat::new_units_added)' "$build/$target.log" || true
  if [ $result -ne 0 ] || [ -n "$(ls -A "$artifacts")" ]; then
    echo "fuzz: $target FAILED (exit status $result); log: $build/$target.log" >&2
    grep -E -m 20 'ERROR|SUMMARY|runtime error|Test unit written' "$build/$target.log" >&2 || true
    for finding in "$artifacts"/*; do
      [ -e "$finding" ] || continue
      cp "$finding" "$build/findings/${target}-$(basename "$finding")"
      echo "fuzz: kept $build/findings/${target}-$(basename "$finding")" >&2
    done
    status=1
  fi
  rm -rf "$artifacts"
done
exit $status
