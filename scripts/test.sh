#!/usr/bin/env bash
# Runs every test of VESSA:
#   1. host unit tests of the portable core, under AddressSanitizer and UBSan;
#   1b. the lock-free weather channel's test under ThreadSanitizer;
#   2. the benchmarks, built optimised and run once briefly (they must work; no timings are judged);
#   3. the fuzz targets (libFuzzer, host clang) for a bounded time each;
#   4. the Windows-side tests and the end-to-end tests of the real vessa.exe under Wine.
# Installs what is missing first. Safe to run again; build trees are reused.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VESSA_BUILD_DIR:-$root/build}
fuzz_seconds=${VESSA_FUZZ_SECONDS:-20}
jobs=$(nproc)

bash "$root/scripts/install-deps.sh"

# shellcheck source=scripts/build_trees.sh
source "$root/scripts/build_trees.sh"

# Each step's heading, with the minutes and seconds the run has taken so far.
step() { printf '\n=== %s (%dm%02ds) ===\n' "$*" $((SECONDS / 60)) $((SECONDS % 60)); }

# CTest stops the Wine sessions of the Windows tests after their last test. Should the run
# end early (a second Ctrl+C, a failed build), sessions still recorded in this build tree are
# stopped here, each by its own record (tests/wine/session.sh).
stop_wine_sessions() {
  local sessions=$build/win/wine-session variant
  for variant in shell plain dpi144 nodisplay; do
    [ -d "$sessions/$variant" ] || continue
    bash "$root/tests/wine/session.sh" stop "$sessions" "$variant" >/dev/null 2>&1 || true
  done
}
trap stop_wine_sessions EXIT

step "host unit tests (ASan, UBSan)"
configure_host_tree "$build/host"
cmake --build "$build/host"
ctest --test-dir "$build/host" -j"$jobs" --output-on-failure

step "weather channel under ThreadSanitizer"
cmake -S "$root" -B "$build/tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESSA_SANITIZE=OFF -DVESSA_TSAN=ON \
  "${cache[@]}" >/dev/null
cmake --build "$build/tsan" --target vessa_tsan_tests
ctest --test-dir "$build/tsan" --output-on-failure

if compgen -G "$root/bench/*.cpp" >/dev/null; then
  step "benchmarks (smoke run)"
  cmake -S "$root" -B "$build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESSA_SANITIZE=OFF \
    -DVESSA_BUILD_TESTS=OFF -DVESSA_BUILD_BENCH=ON "${cache[@]}" >/dev/null
  cmake --build "$build/release"
  for bench in "$build"/release/bench/vessa_bench_*; do
    [ -x "$bench" ] || continue
    "$bench" --benchmark_min_time=0.01 >/dev/null
    echo "ok: $(basename "$bench")"
  done
fi

if compgen -G "$root/fuzz/*.cpp" >/dev/null; then
  step "fuzz targets (${fuzz_seconds} s each)"
  cmake -S "$root" -B "$build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESSA_SANITIZE=OFF \
    -DVESSA_BUILD_TESTS=OFF -DVESSA_BUILD_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    "${cache[@]}" >/dev/null
  cmake --build "$build/fuzz"
  for fuzzer in "$build"/fuzz/fuzz/vessa_fuzz_*; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    corpus="$build/fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds="$root/fuzz/seeds/${name#vessa_fuzz_}"
    [ -d "$seeds" ] || seeds=""
    "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" $seeds 2>"$build/fuzz/$name.log" \
      || { tail -50 "$build/fuzz/$name.log"; exit 1; }
    echo "ok: $name"
  done
fi

step "Windows tests and end-to-end tests under Wine"
configure_windows_tree "$build/win"
cmake --build "$build/win"
ctest --test-dir "$build/win" -j"$jobs" --output-on-failure
# The README's pictures of the settings window, from the run just made.
bash "$root/scripts/settings-pictures.sh" --from-last-run "$build/win"

step "all tests passed"
