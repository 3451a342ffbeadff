#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The completeness check on a small source tree of its own: it passes a complete
# translation and fails on a new text, a text gone from the sources, a missing plural form
# and a lost placeholder.
set -uo pipefail
check=$1 lupdate=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

texts() { # the tr() calls of the tree, one a line
  { echo '#include <QObject>'; echo 'class Box : public QObject { Q_OBJECT void f(int n) {'
    printf '%s\n' "$@"; echo '} };'; } >"$root/src/box.cpp"
}
complete='<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Box</name>
    <message>
        <source>Open %1</source>
        <translation>%1 öffnen</translation>
    </message>
    <message numerus="yes">
        <source>%n files</source>
        <translation>
            <numerusform>eine Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
</context>
</TS>'
run() { # expected status, what, ts text, tr() calls...
  local want=$1 what=$2 ts=$3
  shift 3
  texts "$@"
  printf '%s\n' "$ts" >"$root/tovixman_de.ts"
  cp "$root/tovixman_de.ts" "$root/before.ts"
  "$check" "$lupdate" "$root/src" "$root/tovixman_de.ts" >"$root/out" 2>&1
  local got=$?
  [ "$got" -eq "$want" ] || { fail "$what: exit $got, not $want"; cat "$root/out"; }
  cmp -s "$root/tovixman_de.ts" "$root/before.ts" || fail "$what: the .ts file was changed"
}
mkdir -p "$root/src"
both=('tr("Open %1");' 'tr("%n files", nullptr, n);')

run 0 "a complete translation" "$complete" "${both[@]}"
run 1 "a new text" "$complete" "${both[@]}" 'tr("Close");'
grep -q '"Close" is unfinished' "$root/out" || fail "the new text is not named"
run 1 "a text gone from the sources" "$complete" 'tr("%n files", nullptr, n);'
run 1 "a missing plural form" "${complete/<numerusform>eine Datei<\/numerusform>/}" "${both[@]}"
run 1 "an empty translation" "${complete/\%1 öffnen/}" "${both[@]}"
run 1 "a lost placeholder" "${complete/\%n Dateien/viele Dateien}" "${both[@]}"
run 1 "an unfinished translation" "${complete/<translation>%1/<translation type=\"unfinished\">%1}" "${both[@]}"

[ "$failures" -eq 0 ]
