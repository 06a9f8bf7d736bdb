#!/usr/bin/env bash
# Runs the Windows-side and end-to-end tests under Wine N times in a row (default 10) from the
# build tree made by scripts/test.sh, stopping at the first failing run. For developers before
# they hand work in: a test that fails by chance shows up here, not in CI's single run.
#   bash scripts/repeat-wine-tests.sh [N] [ctest arguments...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VESSA_BUILD_DIR:-$root/build}/win
runs=${1:-10}
shift $(($# > 0 ? 1 : 0))
[ -f "$build/CTestTestfile.cmake" ] || { echo "no Windows build tree in $build: run scripts/test.sh first" >&2; exit 1; }
for run in $(seq 1 "$runs"); do
  start=$SECONDS
  if ! ctest --test-dir "$build" -j"$(nproc)" --output-on-failure "$@" >"$build/repeat-run.log" 2>&1; then
    grep -E "Failure|FAILED|Which is|Actual|Expected" "$build/repeat-run.log" | head -40 >&2
    echo "run $run of $runs failed after $((SECONDS - start)) s: $build/repeat-run.log" >&2
    exit 1
  fi
  echo "run $run of $runs passed ($((SECONDS - start)) s)"
done
