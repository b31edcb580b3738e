#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian packages the game needs (only the missing ones), then configures and builds
# into build/. Sourced by ./play and ./test.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libjpeg62-turbo-dev libsqlite3-dev sqlite3 libicu-dev
  libfluidsynth-dev libsdl2-mixer-dev timgm6mb-soundfont
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  fonts-lato fonts-inter fonts-dejavu-core fonts-lobstertwo fonts-liberation2
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb openbox libxcb1-dev libxcb-xtest0-dev
  # The screen reader's side, for the test that listens to the game on the accessibility bus.
  dbus at-spi2-core python3-pyatspi python3-gi
  desktop-file-utils appstream dpkg-dev
  # The checks of the Debian package and of every file's licence.
  lintian reuse
  # The style of the C++ files (scripts/format.sh, the Style tests).
  clang-format
)
# Packages other scripts need beside the game's own (scripts/fuzz.sh: clang and libFuzzer).
read -r -a extra <<< "${VORN_EXTRA_PACKAGES:-}"
packages+=("${extra[@]}")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# VORN_SETUP_PACKAGES_ONLY=1 stops here (scripts/fuzz.sh builds elsewhere).
[ -n "${VORN_SETUP_PACKAGES_ONLY:-}" ] && exit 0

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_type="${VORN_BUILD_TYPE:-RelWithDebInfo}"
# VORN_WERROR=ON turns compiler warnings into errors (the CI run sets it).
if [ ! -f "$root/build/CMakeCache.txt" ] || [ -n "${VORN_WERROR:-}" ]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" \
    -DVORN_WERROR="${VORN_WERROR:-OFF}" > /dev/null
fi
cmake --build "$root/build" -j "$(nproc)"
