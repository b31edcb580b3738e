#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The installed game: installs the build into a fresh prefix, checks the desktop files, then
# plays from a player's own game folder as the launcher prepares it. A high score lands in the
# player's save/ and nowhere under the prefix; the launcher starts the real program there, keeps
# the links to the installed pack up to date and never touches the saves.
#
# install_test.sh BUILD_DIR BINDIR PROGRAM_DIR PACK_DIR DATADIR APP_ID COMPONENT (the install dirs
# relative to the prefix; the component that holds every installed file)
set -euo pipefail
build=$1 bindir=$2 programdir=$3 packdir=$4 datadir=$5 appid=$6 component=$7

tmp=$(mktemp -d)
tmp=$(cd -P "$tmp" && pwd)  # as the processes' links show it
game_pid=
cleanup() {
    if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null || true; fi
    [ -n "${KEEP:-}" ] || rm -rf "$tmp"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    "$@" || fail "$what"
}

prefix=$tmp/prefix
# As one component, which leaves build/install_manifest.txt to the installations made by hand.
cmake --install "$build" --prefix "$prefix" --component "$component" > /dev/null
launcher=$prefix/$bindir/vorn
program=$prefix/$programdir/vorn
pack=$prefix/$packdir

echo "== the installed files"
check "the launcher is executable" test -x "$launcher"
check "the game is installed off the PATH" test -x "$program" -a "$program" != "$launcher"
for entry in dB/questionnaire.db vorn.hlp image/titre.jpg son/titre.mid video/0.avi; do
    check "the pack holds $entry" test -s "$pack/$entry"
done
check "the manual page is installed" test -s "$prefix/$datadir/man/man6/vorn.6.gz"
check "the copyright file is installed" test -s "$prefix/$datadir/doc/vorn/copyright"
check "the pack holds no save folder" test ! -e "$pack/save"
check "the pack holds no program" test ! -e "$pack/vorn"

desktop=$prefix/$datadir/applications/$appid.desktop
metainfo=$prefix/$datadir/metainfo/$appid.metainfo.xml
check "the desktop entry is valid" desktop-file-validate "$desktop"
check "the metadata is valid" appstreamcli validate --no-net "$metainfo" > /dev/null
key() { sed -n "s/^$1=//p" "$desktop"; }
check "the menu starts the launcher" test "$(key Exec)" = vorn
check "the menu entry is in French and English" \
    test -n "$(key 'Name\[fr\]')" -a -n "$(key 'Comment\[fr\]')" -a -n "$(key Comment)"
check "the metadata names the menu entry" grep -q "<launchable type=\"desktop-id\">$appid.desktop<" "$metainfo"
check "the metadata is described in French" grep -q '<p xml:lang="fr">' "$metainfo"
icons=0
for png in "$prefix/$datadir"/icons/hicolor/*/apps/*.png; do
    size=${png%/apps/*}
    size=${size##*/}
    check "$png is named after the menu entry's icon" test "${png##*/}" = "$(key Icon).png"
    # A PNG: its signature, then the width and height of its header chunk.
    read -r -a bytes <<< "$(od -An -tu1 -w24 -N24 "$png")"
    check "$png is a PNG" test "${bytes[1]}${bytes[2]}${bytes[3]}" = 807871
    width=$(( (bytes[18] << 8) | bytes[19] ))
    height=$(( (bytes[22] << 8) | bytes[23] ))
    check "$png is ${size}" test "${width}x${height}" = "$size"
    icons=$((icons + 1))
done
check "icons from 16 to 256 pixels" test "$icons" -ge 6 -a -e "$prefix/$datadir/icons/hicolor/16x16" \
    -a -e "$prefix/$datadir/icons/hicolor/256x256"

# What the prefix holds, to see that playing changes none of it.
listing() { (cd "$1" && find . -printf '%p %y %s %T@\n' | sort); }
listing "$prefix" > "$tmp/before"

export HOME=$tmp/home XDG_DATA_HOME=$tmp/data QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
folder=$XDG_DATA_HOME/vorn

echo "== the game's options go through the launcher, which prepares no folder for them"
out=$("$launcher" --version) || fail "--version failed through the launcher"
check "--version answers on the output" grep -q '^vorn (V.O.R.N. VOZID) ' <<< "$out"
out=$("$launcher" --help) || fail "--help failed through the launcher"
check "--help answers on the output" grep -q '^Usage: vorn ' <<< "$out"
status=0
"$launcher" --bogus > "$tmp/log" 2>&1 || status=$?
check "an unknown option ends with status 2" test "$status" = 2
check "an unknown option is named" grep -q '^vorn: unknown option --bogus$' "$tmp/log"
check "no option made the player's folder" test ! -e "$folder"

echo "== the launcher starts the game in the player's folder"
"$launcher" > "$tmp/log" 2>&1 &
game_pid=$!
started=
for _ in $(seq 100); do
    if [ "$(readlink -f "/proc/$game_pid/exe" 2> /dev/null)" = "$(readlink -f "$program")" ]; then
        started=yes
        break
    fi
    sleep 0.1
done
check "the launcher becomes the game (it gives it its own process)" test -n "$started"
check "the game runs in the player's folder" test "$(readlink "/proc/$game_pid/cwd")" = "$folder"
reading=
for _ in $(seq 100); do
    if [ -n "$(find "/proc/$game_pid/fd" -lname "$pack/*" 2> /dev/null)" ]; then
        reading=yes
        break
    fi
    sleep 0.1
done
check "the game reads the installed pack through the player's folder" test -n "$reading"
kill "$game_pid" 2> /dev/null || true
wait "$game_pid" 2> /dev/null || true
game_pid=

for entry in "$pack"/*; do
    check "${entry##*/} is linked to the installed pack" \
        test -L "$folder/${entry##*/}" -a "$(readlink "$folder/${entry##*/}")" = "$entry"
done
check "save/ is the player's own folder" test -d "$folder/save" -a ! -L "$folder/save"

echo "== a finished game's high score lands in the player's save/"
# A slot saved in the pause after the last answer of level 3: loading it finishes the game.
printf '[Block4]\r\nscore=5000\r\nNiveau=3\r\nNumQuestion=10\r\nReponses justes=9\r\nPause=1\r\n' \
    > "$folder/save/Sauvegardes.ini"
printf '%s\n' "menu fichier/charger/Block 4" "wait 20000" "dump" "type Testeur" "click valider" \
    "wait 1000" > "$tmp/finish.script"
"$build/vorn-script" --content "$folder" "$tmp/finish.script" > "$tmp/finish.out" 2>&1 ||
    fail "the script runner failed: $(cat "$tmp/finish.out")"
check "the finished game asks for the player's name" grep -q '^screens: nameEntryScreenPresent' "$tmp/finish.out"
check "the high score is in the player's save/" \
    grep -q 'nom=Testeur' "$folder/save/highscores.ini"
listing "$prefix" > "$tmp/after"
check "playing changed nothing under the prefix" diff "$tmp/before" "$tmp/after"

echo "== every start brings the links up to date and leaves the player's own files"
mv "$prefix" "$tmp/moved"
prefix=$tmp/moved
pack=$prefix/$packdir
ln -s "$tmp/gone" "$folder/old-entry"
rm "$folder/vorn.hlp"
echo "my own rules" > "$folder/vorn.hlp"
cp "$folder/save/highscores.ini" "$tmp/scores"
mkdir "$tmp/work"
touch "$tmp/work/a-file"
# A game folder named relative to where the command is run reaches the game as an absolute path
# (here a file, which the game refuses by name).
status=0
(cd "$tmp/work" && "$prefix/$bindir/vorn" a-file) > "$tmp/log" 2>&1 || status=$?
check "the game's own refusal comes back from the launcher" test "$status" = 2
check "a relative argument reaches the game from where it was given" \
    grep -q "no game folder $tmp/work/a-file (it is a file" "$tmp/log"
check "the links follow the moved installation" test "$(readlink "$folder/dB")" = "$pack/dB"
check "a link to what the pack no longer holds is gone" test ! -L "$folder/old-entry"
check "a file of the player's own in place of a link stays" grep -q "my own rules" "$folder/vorn.hlp"
check "the saves are untouched" cmp -s "$tmp/scores" "$folder/save/highscores.ini"

echo "== the saves outlive the installation"
rm -rf "$prefix"
check "the high scores are still there" cmp -s "$tmp/scores" "$folder/save/highscores.ini"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all checks passed"
