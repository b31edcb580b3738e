#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Applies .clang-format to every C++ file of ours (the include order within each block too).
# With --check, changes nothing: prints clang-format's first complaints and each file that differs
# from the style, and fails if there is one. Files generated at build time live in the build
# folders and are never looked at. Usage: scripts/format.sh [--check] [FILE...] (no file: the
# whole tree)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

check=""
if [ "${1:-}" = "--check" ]; then
  check=1
  shift
fi
format="${CLANG_FORMAT:-clang-format}"
command -v "$format" > /dev/null || { echo "format.sh: $format is not installed" >&2; exit 2; }

files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  while IFS= read -r -d '' f; do files+=("$f"); done < <(
    find app bench content core flow fuzz platform records screens tests tools \
      -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
fi

if [ -z "$check" ]; then
  "$format" -i --style="file:$root/.clang-format" "${files[@]}"
  exit 0
fi

# One run over every file; each complaint starts "FILE:LINE:COLUMN: error: ...".
if complaints=$("$format" --dry-run -Werror --style="file:$root/.clang-format" "${files[@]}" 2>&1); then
  echo "all ${#files[@]} files follow .clang-format"
  exit 0
fi
grep -E '^[^ ]+:[0-9]+:[0-9]+: (error|warning):' <<< "$complaints" | head -n 40
unformatted=$(grep -oE '^[^ ]+:[0-9]+:[0-9]+: (error|warning):' <<< "$complaints" | cut -d: -f1 | sort -u)
count=$(grep -c . <<< "$unformatted" || true)
echo "$count of ${#files[@]} files differ from .clang-format (scripts/format.sh formats them):"
sed 's/^/  /' <<< "$unformatted"
exit 1
