#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Runs every benchmark in BUILD/bin (names ending in _bench); each prints its figures as
# ratios against a reference measured in the same run. bench/README.md explains them.
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
shopt -s nullglob
status=0
for bench in "$build"/bin/*_bench; do
  echo "== $(basename "$bench")"
  "$bench" || status=1
done
exit $status
