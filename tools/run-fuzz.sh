#!/usr/bin/env bash
# Runs every fuzz harness in BUILD_DIR/bin (names ending in _fuzz) for SECONDS each,
# growing its corpus in BUILD_DIR/fuzz-corpus/<name>. Fails if any harness finds a crash;
# the input that crashed is kept in BUILD_DIR/fuzz-artifacts/<name>/.
#   tools/run-fuzz.sh BUILD_DIR SECONDS
set -euo pipefail

if [[ $# -ne 2 || ! $2 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 BUILD_DIR SECONDS" >&2
  exit 2
fi
build=$1 seconds=$2

shopt -s nullglob
harnesses=()
for file in "$build"/bin/*_fuzz; do
  [[ -f $file && -x $file ]] && harnesses+=("$file")
done
if [[ ${#harnesses[@]} -eq 0 ]]; then
  echo "no fuzz harnesses in $build/bin (configure with -DTOVIX_FUZZ=ON and build)" >&2
  exit 1
fi

failed=()
for harness in "${harnesses[@]}"; do
  name=$(basename "$harness")
  corpus="$build/fuzz-corpus/$name"
  artifacts="$build/fuzz-artifacts/$name"
  log="$artifacts/last-run.log"
  mkdir -p "$corpus" "$artifacts"
  echo "== $name for ${seconds}s"
  if "$harness" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
       -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done ' "$log" || true
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
