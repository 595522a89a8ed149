#!/usr/bin/env bash
# Builds quorvel-batch four ways, GCC and clang each at -O0 and with the Release flags, runs the
# same seeded Starts through each and fails unless every --json output is the same to the last
# bit. An optimiser that keeps a single-precision sum in double, reassociates or contracts
# shows up here as a difference in some figure.
#   tools/cross_build_check.sh     builds (once, then only what changed) in build-cross/<name>/
#                                  or in $QUORVEL_CROSS_BUILD/<name>/
# Without clang only the two GCC builds are compared, and the script says so.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cross=${QUORVEL_CROSS_BUILD:-$root/build-cross}

# name, compiler, build type, extra flags; the first is the reference.
builds=("gcc-O0 g++ None -O0" "gcc-release g++ Release" "clang-O0 clang++ None -O0"
  "clang-release clang++ Release")
if ! command -v clang++ >/dev/null 2>&1; then
  echo "cross_build_check: clang++ not found, comparing the GCC builds only" >&2
  builds=("${builds[@]:0:2}")
fi

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

build_batch() {
  local dir=$1 compiler=$2 type=$3 flags=${4:-}
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$dir" -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE="$type" \
      -DCMAKE_CXX_FLAGS="$flags" "${launcher[@]}" -DQUORVEL_BUILD_UI=OFF \
      -DQUORVEL_BUILD_TESTS=OFF -DQUORVEL_BUILD_BENCH=OFF >/dev/null
  fi
  cmake --build "$dir" -j "$(nproc)" --target quorvel-batch >/dev/null
}

# Every Start of the check, one a line: several inventories (all groups and stages, pieces
# longer than a small plot, CRLF lines, the example plot), transect lengths from a plot smaller
# than most pieces to a large one, no wind and winds with forces, 1, 2 and 7 runs, and the
# expectation alone.
starts() {
  local inventories=(examples/plot7.txt tests/data/cross_build/every_cell.txt
    tests/data/cross_build/long_pieces.txt tests/data/cross_build/few_records_crlf.txt)
  local seed
  for seed in $(seq 1 24); do echo "--runs 1 --seed $seed examples/plot7.txt"; done
  local length wind runs
  for length in 100 37 7 250; do
    for wind in "none --wind-force 0" "N --wind-force 3" "E --wind-force 5" "NE --wind-force 2"; do
      for runs in 1 2 7; do
        echo "--transect-length $length --wind $wind --runs $runs --seed $length$runs ${inventories[*]}"
      done
      echo "--transect-length $length --wind $wind --expected-only --seed 1 ${inventories[*]}"
    done
  done
}

# The figures of every Start, one JSON field a line under a "# Start N: arguments" heading, so
# that a difference is shown field by field under the Start it belongs to.
run_starts() {
  local batch=$1 arguments status number=0
  cd "$root"
  while read -r arguments; do
    number=$((number + 1))
    echo "# Start $number: $arguments"
    status=0
    # The messages come after the figures, not interleaved with them as the two streams happen
    # to be written.
    # shellcheck disable=SC2086  # the arguments are split on purpose
    "$batch" --json --no-reports $arguments 2>"$cross/stderr" | tr ',' '\n' || status=$?
    sed 's/^/# stderr: /' "$cross/stderr"
    echo "# exit status $status"
  done < <(starts)
}

mkdir -p "$cross"
failed=false
reference=""
for build in "${builds[@]}"; do
  read -r name compiler type flags <<<"$build"
  echo "cross_build_check: building $name"
  build_batch "$cross/$name" "$compiler" "$type" "${flags:-}"
  run_starts "$cross/$name/bin/quorvel-batch" >"$cross/$name.out" 2>&1
  if [ -z "$reference" ]; then
    reference=$name
  elif ! cmp -s "$cross/$reference.out" "$cross/$name.out"; then
    echo "cross_build_check: $name differs from $reference:" >&2
    diff -u -F '^# ' "$cross/$reference.out" "$cross/$name.out" | head -n 60 >&2 || true
    failed=true
  fi
done
$failed && exit 1
echo "cross_build_check: ${#builds[@]} builds agree on $(starts | wc -l) Starts"
