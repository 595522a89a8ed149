#!/usr/bin/env bash
# A tally as surveys record it, at scale: ROWS crossing-diameter rows (default 1,000,000) over
# PLOTS plots (default 10,000) in one long file with a line column and no lengths, two lines a
# plot in a lines file of slope distances and slopes, local species codes with a coefficients
# table by species and decay stage, run through
#   quorvel-batch --expected-only --no-reports --jobs 2 --lines --coefficients --stand-summary
# Model 1 and the stand estimates are computed; model 2 and the expectation are not (two lines).
# Prints the median wall time of REPEATS runs (default 3) and the peak resident memory.
#
#   tools/forms_benchmark.sh [ROWS] [PLOTS] [path/to/quorvel-batch] [REPEATS]
set -euo pipefail

rows=${1:-1000000}
plots=${2:-10000}
batch=${3:-$(dirname "$0")/../build/bin/quorvel-batch}
repeats=${4:-3}
[[ -x $batch ]] || { echo "forms_benchmark: no program at $batch (build quorvel-batch)" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "forms_benchmark: needs GNU time at /usr/bin/time" >&2; exit 2; }
batch=$(realpath "$batch")

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-forms.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Local codes through a species map, decay classes 1..5, diameters 7.5..60 cm; a fixed seed.
python3 - "$work" "$rows" "$plots" <<'PY'
import os, random, sys
folder, rows, plots = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
random.seed(2026)
codes = ["Pl", "Sx", "At", "Fd", "Ep"]
with open(os.path.join(folder, "species.csv"), "w") as f:
    f.write("code,group\nPl,C\nSx,C\nAt,S\nFd,C\nEp,H\n")
with open(os.path.join(folder, "coefficients.csv"), "w") as f:
    f.write("species,stage,density,reduction,carbon\n")
    for code in codes:
        for stage in range(1, 6):
            f.write("%s,%d,%.3f,%s,0.5\n" % (code, stage, 0.5 - 0.06 * stage, "0.8" if stage > 3 else ""))
with open(os.path.join(folder, "lines.csv"), "w") as f:
    f.write("plot,line,slope_distance,slope\n")
    for p in range(plots):
        for line in (1, 2):
            f.write("P%05d,%d,%.2f,%d\n" % (p, line, random.uniform(24, 26), random.randint(0, 40)))
with open(os.path.join(folder, "tally.csv"), "w") as f:
    f.write("Plot,Transect,Species,Diam_cm,Decay\n")
    per_plot = rows // plots
    for r in range(rows):
        f.write("P%05d,%d,%s,%.1f,%d\n" % (r // per_plot, 1 + r % 2, codes[r % 5],
                                          random.uniform(7.5, 60), 1 + r % 5))
PY
cd "$work"
for ((r = 1; r <= repeats; r++)); do
  /usr/bin/time -f "%e %M" -a -o times.txt "$batch" --expected-only --no-reports --jobs 2 \
    --species-map species.csv --coefficients coefficients.csv --lines lines.csv \
    --stand-summary stand.csv tally.csv >out.txt
done
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
echo "$rows rows over $plots plots, two lines each: median wall $(cut -d' ' -f1 times.txt | median) s," \
  "peak $(($(cut -d' ' -f2 times.txt | sort -n | tail -1) / 1024)) MiB, $(grep -c ' records, L = ' out.txt) plots printed"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
