#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The TovixMan developers
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes the README's pictures again from a build: docs/screenshot.png (a home folder
# with its Recordings beside the demo player) and docs/screenshot-queue.png (the queue
# at work, its first line running). It runs in a mount namespace with an empty /home
# and /tmp of its own, so the pictures show a user's home and nothing of this machine.
#   tools/make-screenshots.sh [BUILD_DIR]   (as root; needs Xvfb, xdotool and ImageMagick)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)

if [ "${TOVIX_SCREENSHOT_NAMESPACE:-}" != yes ]; then
  [ "$(id -u)" -eq 0 ] || { echo "make-screenshots.sh: run it as root (it mounts its own /home and /tmp)" >&2; exit 2; }
  for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "make-screenshots.sh: $tool is missing (apt-get install xvfb xdotool imagemagick)" >&2; exit 2; }
  done
  case "$build" in /home/* | /tmp/*) echo "make-screenshots.sh: the build must be outside /home and /tmp" >&2; exit 2 ;; esac
  exec env TOVIX_SCREENSHOT_NAMESPACE=yes unshare --mount --propagation private "$0" "$build"
fi

for folder in /home /tmp /opt; do mount -t tmpfs tmpfs "$folder"; done
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME NEROLINK_PLAYER QT_QPA_PLATFORM WAYLAND_DISPLAY
export HOME=/home/alex XDG_RUNTIME_DIR=/tmp/runtime-alex DISPLAY=:42 LANG=C.UTF-8
mkdir -p "$HOME"/{Recordings,Documents,Music} /opt/tovixman && mkdir -m 700 "$XDG_RUNTIME_DIR"

samples=$root/tests/data
cp "$samples/voice_mode2.VOC" "$HOME/Recordings/Interview with Ms Berg.VOC"
cp "$samples/voice_mode1.VOC" "$HOME/Recordings/Lecture 3 - tides.VOC"
cp "$samples/voice_mode0.VOC" "$HOME/Recordings/REC00004.VOC"
cp "$samples/voice_mode1.VOC" "$HOME/Recordings/Shopping list.VOC"
"$build/bin/voc2wav" --keep-voice "$HOME/Recordings/Shopping list.VOC" >/dev/null
rm "$HOME/Recordings/Shopping list.VOC"
printf 'Agenda for Monday\n' >"$HOME/Documents/Agenda.txt"
cp "$samples/mpeg1_mono.mp3" "$HOME/Music/Morning run.mp3"

# The manager keeps its settings beside a copy of the program, out of the home folder.
program=/opt/tovixman/TovixMan
cp "$build/bin/TovixMan" "$program"
printf '[Window]\nLeft=0\nTop=0\nWidth=1280\nHeight=800\nExplorer=800\nFolderTree=190\n[Explorer]\nDirectory=%s\n' \
  "$HOME" >/opt/tovixman/settings.ini
"$build/bin/tovix-player" init --demo >/dev/null

Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
manager=
trap 'kill $manager $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.2; done

cd "$HOME"
"$program" &
manager=$!
sleep 6
import -window root "$root/docs/screenshot.png"

# Every recording queued for the player; each operation takes a minute, so the
# first line is still running when the picture is taken.
"$build/bin/tovix-player" delay 60000 >/dev/null
"$program" "$HOME/Recordings/Interview with Ms Berg.VOC"
sleep 3
xdotool mousemove 400 73 click 1 key ctrl+a
sleep 0.5
xdotool key alt+o key d
sleep 1
xdotool key Return
sleep 4
import -window root "$root/docs/screenshot-queue.png"
echo "made docs/screenshot.png and docs/screenshot-queue.png"
