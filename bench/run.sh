#!/bin/bash

# SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the benchmarks and prints their table; keeps it, with the machine it was measured on,
# in bench/RESULTS.md. bench/baseline.txt (figures of an earlier version measured on the same
# machine, written by `vorn-bench --save`) fills the table's "Before" column when present.
#
#   bench/run.sh [BUILD_DIR] [vorn-bench options...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source="$(dirname "$here")"
build="${1:-$source/build}"
shift || true

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
ninja -C "$build" vorn-bench vorn-bench-bare vorn content

before=()
[ -f "$here/baseline.txt" ] && before=(--before "$here/baseline.txt")
table="$(mktemp)"
trap 'rm -f "$table"' EXIT
export SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=offscreen
"$build/vorn-bench" --out "$table" --save "$build/bench-figures.txt" "${before[@]}" "$@"

{
  echo "# Benchmark results"
  echo
  echo "Measured by \`bench/run.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'), commit" \
       "$(git -C "$source" rev-parse --short HEAD 2>/dev/null || echo unknown)," \
       "$(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')), load average" \
       "$(cut -d' ' -f1-3 /proc/loadavg) at the end."
  echo
  cat "$table"
  echo
  cat "$here/NOTES.md"
} > "$here/RESULTS.md"
echo "written: $here/RESULTS.md"
