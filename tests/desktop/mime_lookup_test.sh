#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The TovixMan developers
# SPDX-License-Identifier: GPL-2.0-or-later
# The desktop's own lookup (xdg-mime, through GLib's shared-mime-info reader) with our
# definition beside the system's: recordings are ours by content, whatever their name,
# Creative's VOC files stay audio/x-voc, and TovixMan opens recordings.
set -uo pipefail
definition=$1 entry=$2 samples=$3
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

mkdir -p "$data/share/mime/packages" "$data/share/applications" "$data/files"
cp /usr/share/mime/packages/*.xml "$data/share/mime/packages/"
cp "$definition" "$data/share/mime/packages/tovixman.xml"
cp "$entry" "$data/share/applications/"
export XDG_DATA_DIRS=$data/share XDG_DATA_HOME=$data/home XDG_CONFIG_HOME=$data/config
export XDG_CURRENT_DESKTOP=GNOME
update-mime-database "$data/share/mime" || fail "update-mime-database refused the definition"
update-desktop-database "$data/share/applications" || fail "update-desktop-database failed"

type_of() { xdg-mime query filetype "$1" 2>&1; }
expect() { # file, type
  local got
  got=$(type_of "$1")
  [ "$got" = "$2" ] || fail "$(basename "$1") is \"$got\", not $2"
}

for mode in 0 1 2; do
  expect "$samples/voice_mode$mode.VOC" audio/x-tovix-voice
done
cp "$samples/voice_mode1.VOC" "$data/files/from the recorder"
expect "$data/files/from the recorder" audio/x-tovix-voice
printf 'Creative Voice File\x1a\x1a\x00\x0a\x01\x29\x11\x01\x02\x00\x00\x00\x00' >"$data/files/creative.voc"
expect "$data/files/creative.voc" audio/x-voc
expect "$samples/mpeg1_mono.mp3" audio/mpeg

default=$(xdg-mime query default audio/x-tovix-voice 2>&1)
[ "$default" = "$(basename "$entry")" ] || fail "recordings open with \"$default\""

[ "$failures" -eq 0 ]
