#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Starts the manager on the stand-in player, making a demo player first if there is none.
set -euo pipefail
build=${1:-build}
bin="$build/bin"

player=${NEROLINK_PLAYER:-${XDG_DATA_HOME:-$HOME/.local/share}/nerolink/player}
if [ ! -d "$player" ]; then
  echo "Making a demo player in $player"
  "$bin/tovix-player" init --demo
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "There is no display to show the window on. On a machine without one, run:" >&2
  echo "  xvfb-run -s '-screen 0 1280x800x24' $bin/TovixMan" >&2
  exit 1
fi
exec "$bin/TovixMan"
