#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Gives every file of the tree that says nothing of its copyright and licence the SPDX header
# that the REUSE rules want (`reuse lint`, run by ./test, checks them all): the rules of the game
# under CC-BY-SA-4.0 like the rest of the content, the software centres' metadata under CC0-1.0,
# everything else under GPL-3.0-or-later; each in the comments of its kind. A file that already
# has a header keeps it, and the files named in .reuse/dep5 (those that cannot hold a comment)
# are left alone, so the script can run again after a merge, for the files that came with it.
#
#   scripts/spdx-headers.sh        (needs the Debian package reuse)
set -euo pipefail
cd "$(dirname "$0")/.."

holder="The V.O.R.N. VOZID authors"
year=$(date +%Y)

licence_of() {
    case $1 in
        content/help/* | content/questions.*) echo CC-BY-SA-4.0 ;;
        install/metainfo.xml.in) echo CC0-1.0 ;;
        *) echo GPL-3.0-or-later ;;
    esac
}

# The comment style where reuse cannot tell it from the file's name; empty where it can.
style_of() {
    case $1 in
        *.h.in | *.cpp.in) echo c ;;
        *.xml.in) echo html ;;
        *.in | play | test | .ci/run | .clang-format) echo python ;;
    esac
}

# The work is one function, called on the script's last line: the script gives itself a header
# too, and bash reads a script as it runs it.
main() {
    # The patterns of .reuse/dep5's Files fields, one line each ("*" reaches into subfolders).
    local covered
    read -r -a covered <<< "$(sed -n 's/^Files: *//p' .reuse/dep5 | tr '\n' ' ')"

    # The files in groups of one licence and one style, each group one run of reuse.
    local -A groups=()
    local file pattern key
    while IFS= read -r -d '' file; do
        [ -f "$file" ] || continue  # deleted in the work tree
        case $file in LICENSES/* | .reuse/*) continue ;; esac
        for pattern in "${covered[@]}"; do
            # shellcheck disable=SC2053  # the pattern is a glob on purpose
            [[ $file == $pattern ]] && continue 2
        done
        key="$(licence_of "$file") $(style_of "$file")"
        groups[$key]+="$file"$'\n'
    done < <(git ls-files -z)

    local licence style said args files
    for key in "${!groups[@]}"; do
        read -r licence style <<< "$key"
        args=(--copyright "$holder" --year "$year" --copyright-style spdx --license "$licence" --skip-existing)
        [ -z "$style" ] || args+=(--style "$style")
        mapfile -t files <<< "${groups[$key]%$'\n'}"
        if ! said=$(reuse annotate "${args[@]}" "${files[@]}" 2>&1); then
            echo "$said" >&2
            exit 1
        fi
        grep -v '^Skipped file' <<< "$said" || true
    done
}

main "$@"; exit
