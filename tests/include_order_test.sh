#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The layers' include order: every #include "layer/..." in a layer's folder names its own layer or
# one below it, no include climbs out with "..", the rules (core/) use no widget, and only
# platform/ includes SQLite. Prints each
# include that breaks it, as FILE:LINE, and fails if there is one. Usage: include_order_test.sh
# [SOURCE_DIR]
set -uo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root" || exit 2

# Bottom up; each layer may include itself and the layers before it.
layers=(platform core records screens flow app)

# Widgets and the platform's scene elements, which the rules must not use.
widget_headers='^(Q(Widget|Graphics[A-Za-z]*|Label|PushButton|LineEdit|Dialog|MainWindow|MessageBox|Application|Menu|MenuBar|Action|Painter)|QtWidgets/.*)$'
element_headers='^platform/(screen|label|picture|animation|controls|messagebox|element|media/mediaplayer)\.h$'

faults=0
fault() {
  echo "$1"
  faults=$((faults + 1))
}

for ((i = 0; i < ${#layers[@]}; i++)); do
  layer=${layers[i]}
  allowed=" ${layers[*]:0:i+1} "
  [ -d "$layer" ] || { fault "$layer/: the layer's folder is missing"; continue; }
  while IFS= read -r -d '' file; do
    while IFS=: read -r line text; do
      quoted=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' <<< "$text")
      angled=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1/p' <<< "$text")
      if [ -n "$quoted" ]; then
        if [[ "$quoted" == *..* ]]; then
          fault "$file:$line: includes \"$quoted\", out of its folder"
          continue
        fi
        if [[ "$quoted" == */* ]]; then
          target=${quoted%%/*}
          if [[ " ${layers[*]} " == *" $target "* ]] && [[ "$allowed" != *" $target "* ]]; then
            fault "$file:$line: includes \"$quoted\": $layer/ may include only${allowed% }"
          elif [[ " ${layers[*]} " != *" $target "* ]]; then
            fault "$file:$line: includes \"$quoted\", which is in no layer below $layer/"
          fi
        fi
        if [ "$layer" = core ] && [[ "$quoted" =~ $element_headers ]]; then
          fault "$file:$line: includes \"$quoted\", a scene element: core/ holds no widget"
        fi
      elif [ -n "$angled" ] && [ "$layer" = core ] && [[ "$angled" =~ $widget_headers ]]; then
        fault "$file:$line: includes <$angled>, a widget: core/ holds no widget"
      fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file")
  done < <(find "$layer" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.h.in' \) -print0 | sort -z)
done

# SQLite is platform/'s alone (the question table's one reader and writer is there); the tests'
# and the fuzz targets' own low-level checks aside.
while IFS=: read -r file line _; do
  case "$file" in
    platform/* | fuzz/* | tests/*_test.cpp) ;;
    *) fault "$file:$line: includes <sqlite3.h>: only platform/ reads and writes the database" ;;
  esac
done < <(grep -rn --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*<sqlite3\.h>' \
  platform core records screens flow app tools content tests bench fuzz 2> /dev/null)

if [ "$faults" -gt 0 ]; then
  echo "$faults include(s) against the layers' order (bottom up: ${layers[*]})"
  exit 1
fi
echo "every include of ${layers[*]} goes down or stays in its layer"
