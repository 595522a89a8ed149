#!/usr/bin/env bash
# The batch at the scale of a national inventory: PLOTS plot files (default 100000) of 40
# records each, made in a temporary folder, run through
#   quorvel-batch --expected-only --jobs 2 --no-reports --inventories-from LIST
# with the stand estimates over 20 strata (from a strata file). Prints the wall
# time and the peak resident memory of the batch, read by /usr/bin/time -v when it is there,
# else by bash's own time and the kernel's high-water mark of the process.
#
#   tools/scale_benchmark.sh [PLOTS] [path/to/quorvel-batch]
set -euo pipefail

plots=${1:-100000}
batch=${2:-$(dirname "$0")/../build/bin/quorvel-batch}
[[ -x $batch ]] || { echo "scale_benchmark: no program at $batch (build quorvel-batch)" >&2; exit 2; }
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

args=(--expected-only --jobs 2 --no-reports --seed 1 --strata "$work/strata.csv"
      --stand-summary "$work/stand.csv" --inventories-from "$work/list.txt")
echo "quorvel-batch ${args[*]/$work/TMP} > TMP/out.txt   ($plots plots of 40 records)"
cd "$work"
if [[ -x /usr/bin/time ]]; then
  /usr/bin/time -v -o time.txt "$batch" "${args[@]}" > out.txt
  wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' time.txt)
  peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' time.txt)
  cpu="$(sed -n 's/.*User time (seconds): //p' time.txt) s user, $(sed -n 's/.*System time (seconds): //p' time.txt) s system"
else
  # The kernel keeps the process's peak (VmHWM); read it just before it ends, through a
  # wrapper that waits for the batch as its parent would.
  start=$(date +%s.%N)
  "$batch" "${args[@]}" > out.txt &
  pid=$!
  peak=0
  while kill -0 "$pid" 2>/dev/null; do
    hwm=$(sed -n 's/^VmHWM: *\([0-9]*\) kB/\1/p' "/proc/$pid/status" 2>/dev/null || true)
    [[ -n $hwm && $hwm -gt $peak ]] && peak=$hwm
    sleep 0.05
  done
  wait "$pid"
  wall=$(echo "$(date +%s.%N) - $start" | bc)
  cpu="not measured"
fi
echo "plots:        $(grep -c ': 40 records' out.txt)"
echo "wall time:    $wall"
echo "cpu time:     $cpu"
echo "peak memory:  $((peak / 1024)) MiB ($peak KiB)"
# Other work on the machine stretches the wall time: say how busy it was.
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
