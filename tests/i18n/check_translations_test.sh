#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The completeness check on a small source tree of its own: it passes a complete translation
# and fails on a new text, a text gone from the sources, an unfinished or empty translation,
# a missing plural form and a lost placeholder; the .ts file is never changed.
set -uo pipefail
check=$1 lupdate=$2 root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir "$root/src"
failures=0
fail() { echo "FAILED: $*"; cat "$root/out"; failures=$((failures + 1)); }
ts='<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS><TS version="2.1" language="de" sourcelanguage="en"><context><name>Box</name>
<message><source>Open %1</source><translation>%1 öffnen</translation></message>
<message numerus="yes"><source>%n files</source><translation><numerusform>eine Datei</numerusform><numerusform>%n Dateien</numerusform></translation></message>
</context></TS>'
both='tr("Open %1"); tr("%n files", nullptr, n);'
expect() { # exit status, what, .ts text, the tree's tr() calls
  printf '#include <QObject>\nclass Box : public QObject { Q_OBJECT void f(int n) { %s } };\n' "$4" >"$root/src/box.cpp"
  printf '%s\n' "$3" | tee "$root/before.ts" >"$root/tovixman_de.ts"
  "$check" "$lupdate" "$root/src" "$root/tovixman_de.ts" >"$root/out" 2>&1
  local got=$?
  [ "$got" -eq "$1" ] || fail "$2: exit $got, not $1"
  cmp -s "$root/tovixman_de.ts" "$root/before.ts" || fail "$2: the .ts file was changed"
}
expect 0 "a complete translation" "$ts" "$both"
expect 1 "a new text" "$ts" "$both tr(\"Close\");"
grep -q '"Close" is unfinished' "$root/out" || fail "the new text is not named"
expect 1 "a text gone from the sources" "$ts" 'tr("%n files", nullptr, n);'
expect 1 "an unfinished translation" "${ts/<translation>%1/<translation type=\"unfinished\">%1}" "$both"
expect 1 "an empty translation" "${ts/\%1 öffnen/}" "$both"
expect 1 "a missing plural form" "${ts/<numerusform>eine Datei<\/numerusform>/}" "$both"
expect 1 "a lost placeholder" "${ts/\%n Dateien/viele Dateien}" "$both"
[ "$failures" -eq 0 ]
