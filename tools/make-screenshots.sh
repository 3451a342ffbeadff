#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The TovixMan developers
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes the README's and the AppStream metadata's pictures again from a build:
#   docs/screenshot.png        a home folder with its Recordings beside the demo player
#   docs/screenshot-listen.png a recording selected and playing on the play bar
#   docs/screenshot-queue.png  the queue at work, its first line running
#   docs/screenshot-de.png     the main window on a German desktop
# The program is installed into a small root laid out as a Debian desktop's (the usual
# top-level folders, the system's /usr and /etc read-only, an empty home), and the
# pictures are taken inside it, so they show a user's desktop and nothing of this machine.
#   tools/make-screenshots.sh [BUILD_DIR]   (as root; needs Xvfb, xdotool, ImageMagick, pulseaudio)
set -euo pipefail

stage=${TOVIX_SCREENSHOT_STAGE:-host}
self=$(readlink -f "$0")

if [ "$stage" = host ]; then
  root=$(cd "$(dirname "$0")/.." && pwd)
  build=$(cd "${1:-$root/build}" && pwd)
  [ "$(id -u)" -eq 0 ] || { echo "make-screenshots.sh: run it as root (it lays out a root of its own)" >&2; exit 2; }
  for tool in Xvfb xdotool import pulseaudio; do
    command -v "$tool" >/dev/null || {
      echo "make-screenshots.sh: $tool is missing (apt-get install xvfb xdotool imagemagick pulseaudio)" >&2; exit 2; }
  done
  [ -x "$build/bin/TovixMan" ] || { echo "make-screenshots.sh: no TovixMan in $build/bin: build first" >&2; exit 2; }
  exec env TOVIX_SCREENSHOT_STAGE=namespace TOVIX_SOURCE="$root" TOVIX_BUILD="$build" \
    unshare --mount --propagation private "$self"
fi

if [ "$stage" = namespace ]; then
  new=/mnt/tovix-desktop
  mount -t tmpfs tmpfs /mnt
  mkdir -p "$new" && cd "$new"
  mkdir -p boot dev etc home media mnt opt proc root run srv sys tmp usr var/cache var/lib var/log
  chmod 1777 tmp && chmod 700 root
  for link in bin lib lib64 sbin; do ln -s "usr/$link" "$link"; done
  for system in usr etc sys; do
    mount --rbind "/$system" "$system" && mount -o remount,bind,ro "$system"
  done
  mount --rbind /dev dev
  mount -t proc proc proc
  cmake --install "$TOVIX_BUILD" --prefix "$new/opt/tovixman" >/dev/null
  # The test samples stand in for the recordings a user has made.
  mkdir run/samples && cp "$TOVIX_SOURCE"/tests/data/{voice_mode0.VOC,voice_mode1.VOC,mpeg1_mono.mp3} run/samples
  cp "$self" run/make-screenshots.sh
  env -i PATH=/usr/bin:/usr/sbin TOVIX_SCREENSHOT_STAGE=desktop chroot "$new" /bin/bash /run/make-screenshots.sh
  for picture in screenshot screenshot-listen screenshot-queue screenshot-de; do
    cp "run/$picture.png" "$TOVIX_SOURCE/docs/$picture.png"
  done
  echo "made docs/screenshot.png, screenshot-listen.png, screenshot-queue.png and screenshot-de.png"
  exit 0
fi

# Inside the laid-out root.
export HOME=/home/alex XDG_RUNTIME_DIR=/tmp/runtime-alex DISPLAY=:42 LANG=C.UTF-8
mkdir -p "$HOME"/{Recordings,Documents,Music} && mkdir -m 700 "$XDG_RUNTIME_DIR"
bin=/opt/tovixman/bin
samples=/run/samples

# Half an hour of a sample's frames, so the play bar shows a long recording.
for _ in $(seq 160); do cat "$samples/voice_mode1.VOC"; done >"$HOME/Recordings/Interview with Ms Berg.VOC"
cp "$samples/voice_mode1.VOC" "$HOME/Recordings/Lecture 3 - tides.VOC"
cp "$samples/voice_mode0.VOC" "$HOME/Recordings/REC00004.VOC"
cp "$samples/voice_mode1.VOC" "$HOME/Recordings/Shopping list.VOC"
"$bin/voc2wav" --keep-voice "$HOME/Recordings/Shopping list.VOC" >/dev/null
rm "$HOME/Recordings/Shopping list.VOC"
printf 'Agenda for Monday\n' >"$HOME/Documents/Agenda.txt"
cp "$samples/mpeg1_mono.mp3" "$HOME/Music/Morning run.mp3"

# The manager keeps its settings beside the program, out of the home folder.
printf '[Window]\nLeft=0\nTop=0\nWidth=1280\nHeight=800\nExplorer=800\nFolderTree=190\n[Explorer]\nDirectory=%s\n' \
  "$HOME" >"$bin/settings.ini"
"$bin/tovix-player" init --demo >/dev/null

pulseaudio --daemonize=yes --exit-idle-time=-1 -n --log-target=stderr --log-level=error \
  -L "module-native-protocol-unix auth-anonymous=1" -L "module-null-sink sink_name=speakers" 2>/dev/null
export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
manager=
trap 'kill $manager $xvfb 2>/dev/null || true; pulseaudio --kill 2>/dev/null || true' EXIT
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.2; done

cd "$HOME"
"$bin/TovixMan" &
manager=$!
sleep 6
import -window root /run/screenshot.png

# The interview, opened from the desktop: shown selected, and played.
"$bin/TovixMan" "$HOME/Recordings/Interview with Ms Berg.VOC"
sleep 6
import -window root /run/screenshot-listen.png
xdotool key F9

# Every recording queued for the player; each operation takes a minute, so the
# first line is still running when the picture is taken.
"$bin/tovix-player" delay 60000 >/dev/null
xdotool mousemove 400 73 click 1 key ctrl+a
sleep 0.5
xdotool key alt+o key d
sleep 1
xdotool key Return
sleep 4
import -window root /run/screenshot-queue.png

kill "$manager" && wait "$manager" 2>/dev/null || true
"$bin/tovix-player" delay 0 >/dev/null
LANG=de_DE.UTF-8 LANGUAGE=de "$bin/TovixMan" &
manager=$!
sleep 6
import -window root /run/screenshot-de.png
