#!/usr/bin/env bash
# Checks that the C++ sources are laid out as .clang-format says; lists the files that are not.
#   tools/check_format.sh          check, exit 1 when a file needs formatting
#   tools/check_format.sh --fix    reformat those files in place
# Uses clang-format from PATH (Debian 12's clang-format 14 is the reference: other major
# versions may lay out a few constructs differently), or the one named by $CLANG_FORMAT.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

fix=0
case "${1:-}" in
  "") ;;
  --fix) fix=1 ;;
  *) echo "usage: tools/check_format.sh [--fix]" >&2; exit 2 ;;
esac

clang_format=${CLANG_FORMAT:-clang-format}
if ! command -v "$clang_format" >/dev/null; then
  echo "check_format: $clang_format not found; install it with: apt-get install clang-format" >&2
  exit 2
fi
version=$("$clang_format" --version | sed -n 's/.*version \([0-9]*\).*/\1/p')
if [ "$version" != 14 ]; then
  echo "check_format: note: $clang_format is version ${version:-unknown}, the reference is 14" >&2
fi

# The sources of every layer, the tests, benchmarks and fuzz targets, and any at the top;
# build folders are skipped.
mapfile -t files < <(
  { find src tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null
    find . -maxdepth 1 -type f \( -name '*.cpp' -o -name '*.h' \)
  } | sed 's|^\./||' | sort)
if [ ${#files[@]} -eq 0 ]; then
  echo "check_format: no source files found under $root" >&2
  exit 2
fi

if [ $fix -eq 1 ]; then
  "$clang_format" -i --style=file "${files[@]}"
  echo "check_format: formatted ${#files[@]} files"
  exit 0
fi

# One run over all files; every complaint starts with the file's name.
report=$("$clang_format" --dry-run --Werror --style=file "${files[@]}" 2>&1 >/dev/null) && status=0 || status=$?
mapfile -t unformatted < <(printf '%s\n' "$report" | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: .*/\1/p' | sort -u)
if [ "$status" -ne 0 ] && [ ${#unformatted[@]} -eq 0 ]; then
  printf '%s\n' "$report" >&2
  echo "check_format: $clang_format failed" >&2
  exit 2
fi
if [ ${#unformatted[@]} -ne 0 ]; then
  echo "check_format: ${#unformatted[@]} of ${#files[@]} files need formatting:" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  echo "see the changes with: $clang_format --dry-run FILE; apply them with: tools/check_format.sh --fix" >&2
  exit 1
fi
echo "check_format: all ${#files[@]} files formatted"
