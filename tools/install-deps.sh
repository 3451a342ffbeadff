#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Installs the Debian packages that the build, the tests and the sample tools need.
# Does nothing when every one of them is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  qt6-base-dev libgl-dev qt6-l10n-tools qt6-translations-l10n
  libmpg123-dev mpg123
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  lame espeak-ng sox python3 time dosfstools
  qt6-multimedia-dev libsoundtouch-dev libpulse-dev pulseaudio pulseaudio-utils dbus-daemon
  xvfb xauth xclip imagemagick fonts-dejavu-core
  desktop-file-utils
  reuse lintian appstream man-db shared-mime-info xdg-utils libglib2.0-bin
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
