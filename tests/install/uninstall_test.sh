#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# make uninstall: removes exactly what the install manifest lists under the prefix,
# the last line too (CMake ends the manifest without a line break), and the
# program's own folders once empty; the user's settings and files elsewhere stay.
set -uo pipefail
uninstall=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix="$root/my prefix"
build="$root/build"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

listed=(bin/TovixMan lib/tovixman/libHalvex.so share/tovixman/samples/voice_mode0.VOC share/tovixman/translations/tovixman_de.qm
        share/doc/tovixman/docs/stand-in-player.md share/icons/hicolor/64x64/apps/tovixman.png)
mkdir -p "$build" "$root/elsewhere" "$prefix/bin"
for f in "${listed[@]}"; do mkdir -p "$(dirname "$prefix/$f")"; echo x >"$prefix/$f"; done
echo "[Window]" >"$prefix/bin/settings.ini"
echo x >"$root/elsewhere/libHalvex.so"
{ printf '%s\n' "$root/elsewhere/libHalvex.so"; for f in "${listed[@]}"; do printf '%s\n' "$prefix/$f"; done; } |
  head -c -1 >"$build/install_manifest.txt"

"$uninstall" "$build" "$prefix" >/dev/null 2>"$root/errors" || fail "uninstall exited with $?"
for f in "${listed[@]}"; do [ ! -e "$prefix/$f" ] || fail "$f is still there"; done
for d in lib/tovixman share/tovixman share/doc/tovixman; do [ ! -d "$prefix/$d" ] || fail "folder $d is still there"; done
[ -f "$prefix/bin/settings.ini" ] || fail "the user's settings.ini was removed"
[ -f "$root/elsewhere/libHalvex.so" ] || fail "a file outside the prefix was removed"
grep -q "Skipping $root/elsewhere/libHalvex.so: not under $prefix" "$root/errors" || fail "no note for the skipped file"

rm "$build/install_manifest.txt"
if "$uninstall" "$build" "$prefix" >/dev/null 2>&1; then fail "a missing manifest passed as success"; fi

[ "$failures" -eq 0 ]
