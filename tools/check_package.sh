#!/usr/bin/env bash
# Packs the Debian package from a configured and built build folder into a temporary folder and
# checks it: the control fields, the exact list of files with their modes, the dependencies
# against the libraries the programs really load and the window's font, the desktop entry, the manual pages against
# `quorvel-batch --help`, and that the packed programs run and compute what the build computes.
#   tools/check_package.sh [build-dir]      (default: build)
# Exit status 0 when the package is sound, 1 when it is not, 77 on a machine without dpkg-deb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)

if ! command -v dpkg-deb >/dev/null; then
  echo "check_package: no dpkg-deb here, so no Debian package to check" >&2
  exit 77
fi
if [ ! -f "$build/CPackConfig.cmake" ]; then
  echo "check_package: $build is not a configured build folder (no CPackConfig.cmake)" >&2
  exit 1
fi

faults=0
fail() {
  echo "check_package: FAULT: $*" >&2
  faults=$((faults + 1))
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
arch=$(dpkg --print-architecture)
with_window=0
grep -q '^QUORVEL_BUILD_UI:BOOL=ON$' "$build/CMakeCache.txt" && with_window=1

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "check_package: FAULT: cpack failed" >&2
  exit 1
fi
deb="$work/out/quorvel_${version}_${arch}.deb"
if [ ! -f "$deb" ]; then
  ls "$work/out" >&2
  echo "check_package: FAULT: no quorvel_${version}_${arch}.deb was made" >&2
  exit 1
fi

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quorvel ] || fail "Package is '$(field Package)', not quorvel"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Maintainer)" = "Quorvel developers" ] || fail "Maintainer is '$(field Maintainer)'"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
mapfile -t depended < <(printf '%s\n' "$depends" | tr ',' '\n' | sed 's/(.*)//; s/[[:space:]]//g' |
  grep -v '^$' | sort -u)

# Exactly these files, owned by root, programs executable and data readable.
expected=(
  "-rwxr-xr-x ./usr/bin/quorvel-batch"
  "-rw-r--r-- ./usr/share/doc/quorvel/README.md"
  "-rw-r--r-- ./usr/share/doc/quorvel/plot7.txt"
  "-rw-r--r-- ./usr/share/doc/quorvel/examples/plot7.txt"
  "-rw-r--r-- ./usr/share/doc/quorvel/examples/lines/k.csv"
  "-rw-r--r-- ./usr/share/doc/quorvel/examples/lines/lines.csv"
  "-rw-r--r-- ./usr/share/doc/quorvel/examples/lines/tally.csv"
  "-rw-r--r-- ./usr/share/doc/quorvel/examples/stand/p1.txt"
  "-rw-r--r-- ./usr/share/doc/quorvel/examples/stand/p2.txt"
  "-rw-r--r-- ./usr/share/doc/quorvel/examples/stand/p3.txt"
  "-rw-r--r-- ./usr/share/doc/quorvel/examples/stand/strata.csv"
  "-rw-r--r-- ./usr/share/doc/quorvel/docs/screenshots/both_windows.png"
  "-rw-r--r-- ./usr/share/doc/quorvel/docs/screenshots/both_windows_en.png"
  "-rw-r--r-- ./usr/share/doc/quorvel/docs/screenshots/convergence_chart.png"
  "-rw-r--r-- ./usr/share/doc/quorvel/docs/screenshots/convergence_chart_en.png"
  "-rw-r--r-- ./usr/share/doc/quorvel/docs/screenshots/convergence_plot7.svg"
  "-rw-r--r-- ./usr/share/doc/quorvel/docs/screenshots/main_window.png"
  "-rw-r--r-- ./usr/share/doc/quorvel/docs/screenshots/main_window_en.png"
  "-rw-r--r-- ./usr/share/doc/quorvel/docs/screenshots/plot_window.png"
  "-rw-r--r-- ./usr/share/doc/quorvel/docs/screenshots/plot_window_en.png"
  "-rw-r--r-- ./usr/share/doc/quorvel/docs/screenshots/stand_example.svg"
  "-rw-r--r-- ./usr/share/man/man1/quorvel-batch.1.gz"
)
if [ $with_window -eq 1 ]; then
  expected+=(
    "-rwxr-xr-x ./usr/bin/quorvel"
    "-rw-r--r-- ./usr/share/applications/quorvel.desktop"
    "-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/quorvel.svg"
    "-rw-r--r-- ./usr/share/man/man1/quorvel.1.gz"
  )
fi
dpkg-deb -c "$deb" >"$work/contents"
awk '$1 !~ /^d/ { print $1, $6 }' "$work/contents" | sort >"$work/files"
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
if ! diff -u "$work/expected" "$work/files" >"$work/files.diff"; then
  fail "the file list differs from the expected one (- expected, + packed):"
  sed -n '3,$p' "$work/files.diff" | grep '^[-+]' >&2 || true
fi
awk '$2 != "root/root" { print $6 }' "$work/contents" >"$work/not_root"
[ -s "$work/not_root" ] && fail "not owned by root/root: $(tr '\n' ' ' <"$work/not_root")"

dpkg-deb -x "$deb" "$work/root"
bin="$work/root/usr/bin"
man1="$work/root/usr/share/man/man1"

# The window's form is laid out for Liberation Sans: its package comes with the window.
if [ $with_window -eq 1 ]; then
  printf '%s\n' "${depended[@]}" | grep -qx fonts-liberation2 ||
    fail "Depends lacks fonts-liberation2, the window's font: $depends"
  printf '%s\n' "${depended[@]}" | grep -qx qt6-translations-l10n ||
    fail "Depends lacks qt6-translations-l10n, Qt's own Russian texts: $depends"
fi

# Every library a program needs comes from a package in Depends.
if command -v objdump >/dev/null; then
  for program in "$bin"/*; do
    for soname in $(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }'); do
      owners=$(dpkg -S "*/$soname" 2>/dev/null | sed 's/[:,].*//' | sort -u || true)
      found=0
      for owner in $owners; do
        printf '%s\n' "${depended[@]}" | grep -qx "$owner" && found=1
      done
      [ $found -eq 1 ] ||
        fail "$(basename "$program") needs $soname from '${owners:-no package}', not in Depends: $depends"
    done
  done
else
  echo "check_package: note: no objdump, dependencies not compared with the programs" >&2
fi

# The packed quorvel-batch: version, help, and the same figures as the build's own.
batch="$bin/quorvel-batch"
[ "$("$batch" --version)" = "quorvel-batch $version" ] ||
  fail "quorvel-batch --version says '$("$batch" --version)', not 'quorvel-batch $version'"
"$batch" --help >"$work/help" || fail "quorvel-batch --help failed"
grep -q '^Examples:' "$work/help" || fail "quorvel-batch --help has no examples"
mkdir "$work/plot"
cp "$root/examples/plot7.txt" "$work/plot/"
run=(--json --runs 3 --seed 7 --no-reports "$work/plot/plot7.txt")
if "$batch" "${run[@]}" >"$work/packed.json" 2>"$work/packed.err"; then
  "$build/bin/quorvel-batch" "${run[@]}" >"$work/built.json" 2>/dev/null || true
  cmp -s "$work/packed.json" "$work/built.json" ||
    fail "the packed quorvel-batch gives other figures than $build/bin/quorvel-batch"
else
  fail "the packed quorvel-batch failed on plot7.txt: $(cat "$work/packed.err")"
fi

# The manual pages: they render cleanly, carry the version, and name every option of the help.
pages=(quorvel-batch)
[ $with_window -eq 1 ] && pages+=(quorvel)
for page in "${pages[@]}"; do
  [ -f "$man1/$page.1.gz" ] || continue
  zcat "$man1/$page.1.gz" >"$work/$page.1"
  grep -q "^\.TH .*\"Quorvel $version\"" "$work/$page.1" || fail "$page.1 does not carry version $version"
  if command -v groff >/dev/null; then
    groff -k -man -Tutf8 -ww -z "$work/$page.1" 2>"$work/groff.err" || true
    [ -s "$work/groff.err" ] && fail "$page.1 renders with warnings: $(head -3 "$work/groff.err")"
  fi
done
if [ -f "$work/quorvel-batch.1" ]; then
  # The options the manual describes: the headings of its OPTIONS section.
  sed 's/\\-/-/g' "$work/quorvel-batch.1" |
    awk '/^\.SH/ { in_options = ($2 == "OPTIONS") } in_options && /^\.B[IR]? / { print }' |
    grep -o -- '--[a-z][a-z-]*' | sort -u >"$work/manual_options"
  grep -o -- '--[a-z][a-z-]*' "$work/help" | sort -u >"$work/help_options"
  for option in $(comm -23 "$work/help_options" "$work/manual_options"); do
    fail "quorvel-batch.1 does not describe $option"
  done
  for option in $(comm -13 "$work/help_options" "$work/manual_options"); do
    fail "quorvel-batch.1 describes $option, which quorvel-batch --help does not know"
  done
fi

# The desktop entry starts a program of the package and names its icon.
if [ $with_window -eq 1 ]; then
  entry="$work/root/usr/share/applications/quorvel.desktop"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" >"$work/validate" 2>&1 ||
      fail "desktop-file-validate: $(grep -v ': hint: ' "$work/validate")"
  else
    echo "check_package: note: no desktop-file-validate (package desktop-file-utils)" >&2
  fi
  exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  [ -x "$bin/$exec_program" ] || fail "the desktop entry starts '$exec_program', which is not packed"
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ -f "$work/root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
    fail "the desktop entry names the icon '$icon', which is not packed"

  # The packed window comes up and keeps running until it is told to stop.
  status=0
  (cd "$work/plot" && QT_QPA_PLATFORM=offscreen exec timeout 3 "$bin/quorvel") \
    >"$work/window.log" 2>&1 || status=$?
  [ $status -eq 124 ] ||
    fail "the packed quorvel did not keep running (exit status $status): $(head -5 "$work/window.log")"
fi

if [ $faults -ne 0 ]; then
  echo "check_package: $faults fault(s) in $(basename "$deb")" >&2
  exit 1
fi
echo "check_package: $(basename "$deb") is sound: $(wc -l <"$work/files") files, Depends: $depends"
