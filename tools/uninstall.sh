#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Removes what `make install` put under the prefix, as listed in the build's install manifest.
set -euo pipefail
build=${1:-build}
prefix=${2:-$HOME/.local}
manifest="$build/install_manifest.txt"
if [ ! -f "$manifest" ]; then
  echo "Nothing to uninstall: $manifest is missing (run make install first)." >&2
  exit 1
fi
# CMake ends the manifest without a line break, so the last line needs its own test.
while IFS= read -r file || [ -n "$file" ]; do
  case "$file" in
    "$prefix"/*) rm -fv "$file" ;;
    *) echo "Skipping $file: not under $prefix" >&2 ;;
  esac
done < "$manifest"
for folder in share/tovixman/samples share/tovixman/translations share/tovixman share/doc/tovixman/docs share/doc/tovixman lib/tovixman; do
  rmdir --ignore-fail-on-non-empty "$prefix/$folder" 2>/dev/null || true
done
# settings.ini is the user's own and stays.
