#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-fuzz/, runs each for a while and prints what it found.
#
#   scripts/fuzz.sh [TARGET...]       every target (ini jpeg bmp avi midi questions) by default
#
#   VORN_FUZZ_SECONDS   seconds each target runs (60)
#   VORN_FUZZ_JOBS      parallel fuzzing jobs a target (1)
#   VORN_FUZZ_VALGRIND  when set, the target's whole corpus is then replayed under Valgrind by the
#                       ordinary build: FFmpeg, libjpeg, Qt and SQLite are not instrumented, and
#                       a write past a buffer inside them escapes AddressSanitizer
#
# Each target starts from its seed corpus (fuzz/corpus/<target>) and the inputs of faults already
# fixed (fuzz/regressions/<target>); the inputs it finds go to build-fuzz/corpus/<target> and
# are reused by the next run. A crash, hang (over 5 s), leak or allocation over 512 MB stops the
# target and leaves its input in build-fuzz/artifacts/<target>/: once fixed, copy it into
# fuzz/regressions/<target>/ so that the tests replay it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${VORN_FUZZ_SECONDS:-60}"
jobs="${VORN_FUZZ_JOBS:-1}"
build="$root/build-fuzz"

# The game's own packages, clang and its libFuzzer runtime.
wanted="clang libclang-rt-14-dev"
[ -n "${VORN_FUZZ_VALGRIND:-}" ] && wanted+=" valgrind"
VORN_SETUP_PACKAGES_ONLY=1 VORN_EXTRA_PACKAGES="$wanted" "$root/scripts/setup.sh"

targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(ini jpeg bmp avi midi questions)

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORN_FUZZ=ON > /dev/null
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz-}"
if [ -n "${VORN_FUZZ_VALGRIND:-}" ]; then
  if [ ! -f "$root/build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
  fi
  cmake --build "$root/build" -j "$(nproc)" --target vorn-fuzz-replay
fi

summary=()
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  artifacts="$build/artifacts/$t"
  log="$build/logs/$t.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  before=$(find "$artifacts" -type f | wc -l)
  echo "== fuzzing $t for $seconds s (log: ${log#"$root"/})"
  status=0
  parallel=()
  [ "$jobs" -gt 1 ] && parallel=(-jobs="$jobs" -workers="$jobs")
  # The scratch files of the targets that read from a file go to the scratch folder, removed
  # at exit; QT and SDL run without a display or a sound card.
  QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 \
    "$build/fuzz/fuzz-$t" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=512 \
    -malloc_limit_mb=512 "${parallel[@]}" -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" "$root/fuzz/corpus/$t" "$root/fuzz/regressions/$t" \
    > "$log" 2>&1 || status=$?
  # With several jobs each writes its own fuzz-N.log.
  if [ "$jobs" -gt 1 ]; then cat fuzz-*.log >> "$log" 2>/dev/null || true; rm -f fuzz-*.log; fi
  runs=$(grep -h 'stat::number_of_executed_units' "$log" | awk '{s += $2} END {print s + 0}')
  added=$(grep -h 'stat::new_units_added' "$log" | awk '{s += $2} END {print s + 0}')
  found=$(( $(find "$artifacts" -type f | wc -l) - before ))
  [ "$status" -ne 0 ] && [ "$found" -eq 0 ] && found="exit $status"
  memcheck="-"
  if [ -n "${VORN_FUZZ_VALGRIND:-}" ]; then
    echo "== replaying the corpus of $t under Valgrind (log: ${log#"$root"/}.valgrind)"
    memcheck=0
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy VORN_FUZZ_MAX_MS=120000 valgrind -q --error-exitcode=99 \
      "$root/build/fuzz/vorn-fuzz-replay" "$t" "$corpus" "$root/fuzz/corpus/$t" \
      "$root/fuzz/regressions/$t" > "$log.valgrind" 2>&1 || memcheck=$?
    [ "$memcheck" -eq 99 ] && memcheck="errors"
  fi
  summary+=("$(printf '%-10s %12s %12s %10s %10s' "$t" "$runs" "$added" "$found" "$memcheck")")
done

echo
printf '%-10s %12s %12s %10s %10s\n' target runs "new inputs" faults valgrind
for line in "${summary[@]}"; do echo "$line"; done
if [ -n "$(find "$build/artifacts" -type f 2>/dev/null)" ]; then
  echo
  echo "Inputs of faults not yet moved to fuzz/regressions (build-fuzz/artifacts):"
  find "$build/artifacts" -type f -printf '  %P\n' | sort
fi
