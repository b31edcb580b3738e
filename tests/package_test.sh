#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package as a distribution's reviewer sees it: built by CPack from the build, it holds
# the game where Debian's policy puts games, its manual page, copyright file and changelog, carries
# the build's version and maintainer, and lintian finds in it no error and no warning. Its launcher
# in /usr/games finds the program and the content from there.
#
# package_test.sh BUILD_DIR VERSION MAINTAINER
set -euo pipefail
build=$1 version=$2 maintainer=$3

tmp=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$tmp"' EXIT
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

echo "== the package"
# Into a folder of its own, so that neither the build's package nor its staging are touched.
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" > "$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log" >&2
    echo "FAIL: cpack could not make the package" >&2
    exit 1
fi
debs=("$tmp"/out/vorn_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single package in $tmp/out" >&2; exit 1; }
deb=${debs[0]}
echo "${deb##*/}"

field() { dpkg-deb -f "$deb" "$1"; }
check "the package's version is the build's" test "$(field Version)" = "$version"
check "the package is in the games section" test "$(field Section)" = games
check "the maintainer is the one configured" test "$(field Maintainer)" = "$maintainer"

dpkg-deb -c "$deb" | awk '{ print $1, $6 }' > "$tmp/contents"
has() { grep -q -x -- "$1 \\./$2" "$tmp/contents"; }
check "the launcher is /usr/games/vorn, executable" has '-rwxr-xr-x' usr/games/vorn
check "no launcher stays in /usr/bin" test -z "$(grep ' \./usr/bin/' "$tmp/contents")"
check "the manual page is vorn(6)" has '-rw-r--r--' usr/share/man/man6/vorn.6.gz
check "the copyright file is there" has '-rw-r--r--' usr/share/doc/vorn/copyright
check "the changelog is there" has '-rw-r--r--' usr/share/doc/vorn/changelog.gz

dpkg-deb -x "$deb" "$tmp/root"
check "the changelog's first entry is this version" \
    test "$(zcat "$tmp/root/usr/share/doc/vorn/changelog.gz" | head -n 1)" = "vorn ($version) unstable; urgency=medium"
check "the copyright file gives the licences of the program and of the content" \
    test "$(grep -c -E '^License: (GPL-3\+|CC-BY-SA-4\.0|CC0-1\.0)$' "$tmp/root/usr/share/doc/vorn/copyright")" -ge 6
out=$(HOME=$tmp/home "$tmp/root/usr/games/vorn" --version) || fail "the packaged launcher cannot start the game"
check "the packaged launcher reaches the program: $out" test "${out%%$'\n'*}" = "vorn (V.O.R.N. VOZID) $version"
check "an option prepares no game folder" test ! -e "$tmp/home"

echo "== lintian"
# Errors and warnings fail; information and pedantic notes are shown only.
lintian --allow-root --display-info "$deb" > "$tmp/lintian" 2>&1 || true
cat "$tmp/lintian"
if grep -q -E '^(E|W): ' "$tmp/lintian"; then
    fail "lintian reports errors or warnings"
fi
if grep -q -E '^(internal error|Cannot|Unknown)' "$tmp/lintian"; then
    fail "lintian did not run through"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all checks passed"
