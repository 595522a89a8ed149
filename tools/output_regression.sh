#!/usr/bin/env bash
# Compares everything quorvel-batch prints and writes with what an earlier revision printed and
# wrote for the same inputs: the examples, the cross-build inventories and the spreadsheet forms
# of the tally fuzzer's seeds, through text, JSON, summaries, stand summaries, detail CSVs,
# charts and reports, with and without strata.
#   tools/output_regression.sh REV              builds REV's quorvel-batch in a scratch
#                                               worktree and compares it with build/bin's
#   tools/output_regression.sh REV NEW_BATCH    compares with another program
# Exit status 0 when every output is byte-identical; otherwise the first differences are shown.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rev=${1:?usage: tools/output_regression.sh REV [NEW_BATCH]}
new_batch=${2:-$root/build/bin/quorvel-batch}
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-regression.XXXXXX")
trap 'git -C "$root" worktree remove --force "$work/old-tree" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

old_tree="$work/old-tree"
git -C "$root" worktree add --detach "$old_tree" "$rev" >/dev/null 2>&1
export CCACHE_BASEDIR="$old_tree" CCACHE_NOHASHDIR=1
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$old_tree" -B "$work/old-build" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" \
  -DQUORVEL_BUILD_UI=OFF -DQUORVEL_BUILD_TESTS=OFF -DQUORVEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$work/old-build" -j "$(nproc)" --target quorvel-batch >/dev/null 2>&1
old_batch="$work/old-build/bin/quorvel-batch"

# The inputs, copied afresh for every command so that reports written beside them are compared.
lay_inputs() {
  local dir=$1
  mkdir -p "$dir/forms"
  cp "$root"/examples/plot7.txt "$dir/"
  cp -r "$root"/examples/stand "$dir/stand"
  cp "$root"/tests/data/cross_build/*.txt "$dir/"
  cp "$root"/fuzz/corpus/tally_reader/* "$dir/forms/"
}

# One command a line, run in the inputs' folder; "OUT/" names files for the outputs.
commands() {
  cat <<'EOF'
--seed 1 plot7.txt
--seed 2 --runs 7 --wind NE --wind-force 2 plot7.txt every_cell.txt long_pieces.txt few_records_crlf.txt
--seed 3 --runs 5 --json plot7.txt every_cell.txt
--seed 4 --runs 3 --transect-length 37 --decimal-separator , plot7.txt long_pieces.txt
--seed 5 --expected-only --no-reports every_cell.txt long_pieces.txt plot7.txt
--seed 6 --expected-only --json --no-reports every_cell.txt long_pieces.txt plot7.txt
--seed 7 --runs 4 --summary OUT/sum.csv --pieces OUT/pieces.csv --runs-csv OUT/runs.csv --chart OUT/chart.svg plot7.txt every_cell.txt
--seed 8 --runs 2 --trace OUT/trace.csv plot7.txt
--seed 9 --runs 3 --strata stand/strata.csv --stand-summary OUT/stand.csv --json stand/p1.txt stand/p2.txt stand/p3.txt
--seed 10 --expected-only --strata stand/strata.csv --stand-summary OUT/stand.csv --summary OUT/sum.csv --chart OUT/c.svg stand/p1.txt stand/p2.txt stand/p3.txt
--seed 11 --runs 2 --jobs 2 --summary OUT/sum.csv stand plot7.txt every_cell.txt
--seed 12 --runs 2 --species-map forms/species_map.csv forms/species_words.csv
--seed 13 --runs 2 --json forms
--seed 14 --expected-only --no-reports --stand-summary OUT/stand.csv forms
--seed 15 --runs 2 --input-separator ; --input-decimal , forms/semicolons_no_header.csv
--seed 16 --runs 2 --plot-column plot --summary OUT/sum.csv forms/plot_column.csv
--runs 0 plot7.txt
--transect-length 0,4 plot7.txt
--density 1:S=abc plot7.txt
--wind Q plot7.txt
--seed 17 missing.txt
EOF
}

# Runs one program over every command; everything it prints or writes goes to one folder.
run_all() {
  local batch=$1 out=$2 number=0 arguments status
  mkdir -p "$out"
  while read -r arguments; do
    number=$((number + 1))
    local dir="$out/$number"
    lay_inputs "$dir/in"
    mkdir -p "$dir/in/OUT"
    status=0
    # shellcheck disable=SC2086  # the arguments are split on purpose
    (cd "$dir/in" && "$batch" $arguments >"$dir/stdout" 2>"$dir/stderr") || status=$?
    echo "$arguments" >"$dir/command"
    echo "$status" >"$dir/status"
  done < <(commands)
}

run_all "$old_batch" "$work/old"
run_all "$new_batch" "$work/new"
# Printed paths and the program's own name differ between the two folders: fold them away.
sed -i "s#$work/old#WORK#g; s#$work/new#WORK#g" $(grep -rlI "$work" "$work/old" "$work/new" || true) 2>/dev/null || true
if diff -r "$work/old" "$work/new" >"$work/diff" 2>&1; then
  echo "output_regression: $(commands | wc -l) commands, every output byte-identical to $rev"
else
  echo "output_regression: outputs differ from $rev:" >&2
  head -n 80 "$work/diff" >&2
  exit 1
fi
