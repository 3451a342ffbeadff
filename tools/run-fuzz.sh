#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Runs every fuzz harness in BUILD_DIR/bin (names ending in _fuzz) for SECONDS each,
# growing its corpus in BUILD_DIR/fuzz-corpus/<name>. Fails if any harness finds a crash;
# the input that crashed is kept in BUILD_DIR/fuzz-artifacts/<name>/. JOBS harnesses
# (default 1) run at a time, each for the whole SECONDS.
#   tools/run-fuzz.sh BUILD_DIR SECONDS [JOBS]
set -euo pipefail

if [[ $# -lt 2 || $# -gt 3 || ! $2 =~ ^[0-9]+$ || ! ${3:-1} =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 BUILD_DIR SECONDS [JOBS]" >&2
  exit 2
fi
build=$1 seconds=$2 jobs=${3:-1}

shopt -s nullglob
harnesses=()
for file in "$build"/bin/*_fuzz; do
  [[ -f $file && -x $file ]] && harnesses+=("$file")
done
if [[ ${#harnesses[@]} -eq 0 ]]; then
  echo "no fuzz harnesses in $build/bin (configure with -DTOVIX_FUZZ=ON and build)" >&2
  exit 1
fi

# One harness; its exit status goes to a file, since several run side by side.
fuzz_one() {
  local harness=$1 name corpus artifacts
  name=$(basename "$harness")
  corpus="$build/fuzz-corpus/$name"
  artifacts="$build/fuzz-artifacts/$name"
  mkdir -p "$corpus" "$artifacts"
  "$harness" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" >"$artifacts/last-run.log" 2>&1
  echo $? >"$artifacts/last-run.status"
}

for harness in "${harnesses[@]}"; do
  while [[ $(jobs -rp | wc -l) -ge $jobs ]]; do wait -n || true; done
  echo "== $(basename "$harness") for ${seconds}s"
  rm -f "$build/fuzz-artifacts/$(basename "$harness")/last-run.status"
  fuzz_one "$harness" &
done
wait

failed=()
for harness in "${harnesses[@]}"; do
  name=$(basename "$harness")
  log="$build/fuzz-artifacts/$name/last-run.log"
  if [[ $(cat "$build/fuzz-artifacts/$name/last-run.status" 2>/dev/null) == 0 ]]; then
    echo "$name: $(grep -E '^stat::number_of_executed_units' "$log" || echo done)"
  else
    failed+=("$name")
    tail -n 40 "$log"
  fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzzing found problems in: ${failed[*]}" >&2
  exit 1
fi
echo "no findings"
