#!/usr/bin/env bash
# Runs every test of VESSA:
#   1. host unit tests of the portable core, under AddressSanitizer and UBSan;
#   1b. the lock-free weather channel's test under ThreadSanitizer;
#   2. the benchmarks, built optimised and run once briefly (they must work; no timings are judged);
#   3. the fuzz targets (libFuzzer, host clang) for a bounded time each;
#   4. the Windows-side tests and the end-to-end tests of the real vessa.exe under Wine;
#   5. on Debian 12 (where CI runs) or whenever VESSA_DEBIAN13=1: step 4 once more in a fresh
#      Debian 13 root, with its MinGW-w64 (GCC 14) and Wine 10 (scripts/test-debian13.sh, which
#      needs root). VESSA_DEBIAN13=0 leaves it out.
# VESSA_TEST_PARTS picks steps by name (default "host tsan bench fuzz windows debian13").
# Installs what is missing first. Safe to run again; build trees are reused.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VESSA_BUILD_DIR:-$root/build}
fuzz_seconds=${VESSA_FUZZ_SECONDS:-20}
jobs=$(nproc)
parts=" ${VESSA_TEST_PARTS:-host tsan bench fuzz windows debian13} "
wanted() { [[ $parts == *" $1 "* ]]; }

# The Debian 13 run: VESSA_DEBIAN13=1 asks for it, 0 leaves it out. By default it runs on
# Debian 12, the release CI runs on, wherever root comes without a question (as root, or a sudo
# that asks no password); elsewhere the run says how to ask for it.
debian13=${VESSA_DEBIAN13:-}
debian13_note=""
if [ -z "$debian13" ]; then
  debian13=0
  release=$(. /etc/os-release 2>/dev/null && echo "${ID:-}-${VERSION_ID:-}")
  if [ "$release" = debian-12 ]; then
    if [ "$(id -u)" -eq 0 ] || sudo -n true 2>/dev/null; then
      debian13=1
    else
      debian13_note="Debian 13 run left out: it needs root (VESSA_DEBIAN13=1 asks sudo for it)"
    fi
  fi
fi
wanted debian13 || { debian13=0; debian13_note=""; }

VESSA_DEBIAN13=$debian13 bash "$root/scripts/install-deps.sh"

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

if wanted host; then
  step "host unit tests (ASan, UBSan)"
  configure_host_tree "$build/host"
  cmake --build "$build/host"
  ctest --test-dir "$build/host" -j"$jobs" --output-on-failure
fi

if wanted tsan; then
  step "weather channel under ThreadSanitizer"
  cmake -S "$root" -B "$build/tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESSA_SANITIZE=OFF -DVESSA_TSAN=ON \
    "${cache[@]}" >/dev/null
  cmake --build "$build/tsan" --target vessa_tsan_tests
  ctest --test-dir "$build/tsan" --output-on-failure
fi

if wanted bench && compgen -G "$root/bench/*.cpp" >/dev/null; then
  step "benchmarks (smoke run)"
  cmake -S "$root" -B "$build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESSA_SANITIZE=OFF \
    -DVESSA_BUILD_TESTS=OFF -DVESSA_BUILD_BENCH=ON "${cache[@]}" >/dev/null
  cmake --build "$build/release"
  read -r -a smoke_arguments <"$build/release/bench/smoke-arguments"
  for bench in "$build"/release/bench/vessa_bench_*; do
    [ -x "$bench" ] || continue
    "$bench" "${smoke_arguments[@]}" >/dev/null
    echo "ok: $(basename "$bench")"
  done
fi

if wanted fuzz && compgen -G "$root/fuzz/*.cpp" >/dev/null; then
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

if wanted windows; then
  step "Windows tests and end-to-end tests under Wine"
  configure_windows_tree "$build/win"
  cmake --build "$build/win"
  # A Wine test program that fails is run once more before the run counts as failed: some
  # failures under a loaded Wine desktop come and go (the first attempt's output is still
  # printed), and a real fault fails both attempts.
  ctest --test-dir "$build/win" -j"$jobs" --output-on-failure --repeat until-pass:2
  # The README's pictures of the settings window, from the run just made (the Debian 13 run
  # leaves them alone: VESSA_SETTINGS_PICTURES=0).
  if [ "${VESSA_SETTINGS_PICTURES:-1}" = 1 ]; then
    bash "$root/scripts/settings-pictures.sh" --from-last-run "$build/win"
  fi
fi

if [ "$debian13" = 1 ]; then
  step "Debian 13: Windows tests under Wine 10 (scripts/test-debian13.sh)"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" env VESSA_BUILD_DIR="$build" ${VESSA_DEBIAN13_CACHE:+VESSA_DEBIAN13_CACHE="$VESSA_DEBIAN13_CACHE"} \
    bash "$root/scripts/test-debian13.sh"
fi

step "all tests passed"
if [ -n "$debian13_note" ]; then echo "$debian13_note"; fi
