#!/usr/bin/env bash
# The batch at the scale of a national inventory: PLOTS plot files (default 100000) of 40
# records each, made in a temporary folder, run through
#   quorvel-batch --expected-only --no-reports --jobs J --inventories-from LIST
# with --jobs 1 and 2, without and with the stand estimates over 20 strata (--strata,
# --stand-summary), beside the time it takes only to read the same files
# (xargs -a LIST cat > /dev/null). Each is run REPEATS times (default 3), the kinds taking
# turns so that other work on the machine falls on all of them alike, with the page cache
# warm; the medians are printed with their ratios, and the peak resident memory of each. The
# outputs of --jobs 1 and 2 must be byte-identical.
#
#   tools/scale_benchmark.sh [PLOTS] [path/to/quorvel-batch] [REPEATS]
set -euo pipefail

plots=${1:-100000}
batch=${2:-$(dirname "$0")/../build/bin/quorvel-batch}
repeats=${3:-3}
[[ -x $batch ]] || { echo "scale_benchmark: no program at $batch (build quorvel-batch)" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "scale_benchmark: needs GNU time at /usr/bin/time" >&2; exit 2; }
batch=$(realpath "$batch")

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-scale.XXXXXX")
trap 'rm -rf "$work"' EXIT

# 40 records of every code and stage, diameters 5..60 cm, lengths 1..20 m; a fixed seed.
python3 - "$work" "$plots" <<'PY'
import os, random, sys
folder, plots = sys.argv[1], int(sys.argv[2])
random.seed(2024)
os.makedirs(os.path.join(folder, "plots"))
with open(os.path.join(folder, "list.txt"), "w") as listing, \
     open(os.path.join(folder, "strata.csv"), "w") as strata:
    strata.write("plot,stratum\n")
    for i in range(plots):
        path = os.path.join(folder, "plots", "p%06d.txt" % i)
        rows = ['"%s",%.1f,%.1f,%.2f,%d\n' % ("SHC"[r % 3], random.uniform(5, 60),
                random.uniform(5, 60), random.uniform(1, 20), 1 + r % 5) for r in range(40)]
        with open(path, "w") as f:
            f.write("".join(rows))
        listing.write(path + "\n")
        strata.write("%s,s%d\n" % (path, i % 20))
PY
cd "$work"

# Each kind of run under GNU time: wall, user and system seconds, peak resident KiB.
common=(--expected-only --no-reports --seed 1 --inventories-from list.txt)
strata=(--strata strata.csv --stand-summary)
measure() {
  local kind=$1
  shift
  case $kind in
    read) set -- xargs -a list.txt cat ;;
    jobs1 | jobs2) set -- "$batch" "${common[@]}" --jobs "${kind#jobs}" ;;
    jobs?-strata) set -- "$batch" "${common[@]}" --jobs "${kind:4:1}" "${strata[@]}" "$kind.csv" ;;
  esac
  # The files read go to /dev/null as the issue's measure has it: written to a file, GNU cat
  # copies them in the kernel (copy_file_range) without reading them into memory at all.
  local output="out-$kind.txt"
  [[ $kind == read ]] && output=/dev/null
  /usr/bin/time -f "$kind %e %U %S %M" -a -o times.txt "$@" >"$output"
}
kinds=(read jobs1 jobs2 jobs1-strata jobs2-strata)

xargs -a list.txt cat >/dev/null # the page cache warm for all that follows
for ((r = 1; r <= repeats; r++)); do
  for kind in "${kinds[@]}"; do measure "$kind"; done
done

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
field() { awk -v k="$1" -v f="$2" '$1 == k {print $f}' times.txt | median; }
declare -A wall
echo "$plots plot files of 40 records, --expected-only --no-reports, medians of $repeats runs"
printf '%-14s %8s %8s %8s %10s\n' run "wall s" "user s" "sys s" "peak MiB"
for kind in "${kinds[@]}"; do
  wall[$kind]=$(field "$kind" 2)
  printf '%-14s %8.2f %8.2f %8.2f %10.1f\n' "$kind" "${wall[$kind]}" "$(field "$kind" 3)" \
    "$(field "$kind" 4)" "$(echo "$(field "$kind" 5) / 1024" | bc -l)"
done
ratio() { printf '%-34s %6.2f\n' "$1" "$(echo "${wall[$2]} / ${wall[$3]}" | bc -l)"; }
ratio "jobs 2 / jobs 1" jobs2 jobs1
ratio "jobs 2 / jobs 1, with strata" jobs2-strata jobs1-strata
ratio "jobs 1 / read" jobs1 read
ratio "jobs 2 / read" jobs2 read
ratio "jobs 1 with strata / read" jobs1-strata read
ratio "jobs 2 with strata / read" jobs2-strata read
echo "plots printed: $(grep -c ': 40 records' out-jobs2-strata.txt)"
for pair in "out-jobs1.txt out-jobs2.txt" "out-jobs1-strata.txt out-jobs2-strata.txt" \
  "jobs1-strata.csv jobs2-strata.csv"; do
  # shellcheck disable=SC2086  # two file names
  cmp -s $pair || { echo "scale_benchmark: $pair differ" >&2; exit 1; }
done
echo "outputs of --jobs 1 and 2: byte-identical"
# Other work on the machine stretches the wall times: say how busy it was.
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
