#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The style check itself: scripts/format.sh --check fails on a file that differs from
# .clang-format (spacing, then the order of a block of includes) and names it, and passes on the
# same files once formatted. Usage: format_check_test.sh SOURCE_DIR
set -uo pipefail
root="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
check() { bash "$root/scripts/format.sh" --check "$@"; }
failed=0
expect() {  # WHAT STATUS OUTPUT_PATTERN FILE
  local out status
  out=$(check "$4" 2>&1)
  status=$?
  if [ "$status" -ne "$2" ] || ! grep -q -- "$3" <<< "$out"; then
    echo "$1: status $status, expected $2 with \"$3\"; it printed:"
    echo "$out"
    failed=1
  fi
}

printf 'int  answer( ){return 42;}\n' > "$work/spacing.cpp"
printf '#include <vector>\n#include <map>\n\nint answer() { return 42; }\n' > "$work/includes.cpp"
expect "misplaced blanks" 1 "spacing.cpp" "$work/spacing.cpp"
expect "includes out of order" 1 "includes.cpp" "$work/includes.cpp"

bash "$root/scripts/format.sh" "$work/spacing.cpp" "$work/includes.cpp"
expect "formatted blanks" 0 "follow .clang-format" "$work/spacing.cpp"
expect "formatted includes" 0 "follow .clang-format" "$work/includes.cpp"
grep -q '^#include <map>$' <(head -n 1 "$work/includes.cpp") || { echo "the includes were not sorted"; failed=1; }
exit "$failed"
