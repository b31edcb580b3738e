#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A long random session: keys, typing, clicks, menu commands and waits on a copy of the default
# game folder, under AddressSanitizer and UndefinedBehaviorSanitizer, with the game's invariants
# checked after each step. Prints the seed and a summary; exits 1 when an invariant fails.
#   scripts/monkey.sh [STEPS [SEED]]   (100000 steps by default; a seed from the clock if none)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
steps="${1:-100000}"
if [ ! -d "$root/build/game/dB" ]; then
  echo "monkey: no game folder in build/game: run ./test or ./play first" >&2
  exit 2
fi
if [ ! -f "$root/build-asan/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_SANITIZE=ON \
    -DVORN_WERROR="${VORN_WERROR:-OFF}" > /dev/null
fi
cmake --build "$root/build-asan" -j "$(nproc)" --target vorn-monkey
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=1
exec "$root/build-asan/tests/vorn-monkey" --steps "$steps" ${2:+--seed "$2"} --content "$root/build/game"
