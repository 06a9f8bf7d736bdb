#!/usr/bin/env bash
# VESSA's footprint beside the smallest Windows program with a window (bench/footprint/):
# both run side by side under the same Wine, in a desktop with a taskbar, for a while (60 s
# by default) with VESSA updating every 100 ms; then the script prints each one's working set
# (resident memory) and CPU time and the ratios VESSA / baseline, and the size of vessa.exe.
# A third program runs beside them: the same baseline making, every tick, the two readings
# every tick of VESSA's makes through the system (--read-counters); VESSA's CPU time against
# it is VESSA's own work, without what the platform charges for the readings.
# The vessa.exe measured is the one that goes into the package: release/vessa.exe, without
# its debug sections.
#
#   bench/footprint.sh [WINDOWS_BUILD_DIR] [SECONDS] [RUNS]
#
# With RUNS above 1 the side-by-side run is repeated, each time with both programs started
# afresh, and the run with the median CPU ratio is reported beside every run's ratios: CPU
# times of a few hundredths of a second vary a lot from run to run.
#
# With FOOTPRINT_MAPS=1 it also prints, for each program, the resident KiB of every file it
# has mapped (the executable, each DLL) and of its anonymous memory: where a difference lives.
#
# WINDOWS_BUILD_DIR defaults to build/win and must hold release/vessa.exe and
# bin/vessa_footprint_baseline.exe (ninja -C build/win vessa_release vessa_footprint_baseline).
# The Wine session is a private one (tests/wine/session.sh) and is stopped afterwards; only
# the processes this script started are ended, by their process ids.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
seconds=${2:-60}
runs=${3:-1}
vessa_exe=$build/release/vessa.exe
baseline_exe=$build/bin/vessa_footprint_baseline.exe
keeper_exe=$build/tests/support/vessa_keeper.exe
for file in "$vessa_exe" "$baseline_exe" "$keeper_exe"; do
  [ -f "$file" ] || { echo "missing $file: build the Windows tree first" >&2; exit 1; }
done

state=$(mktemp -d "${TMPDIR:-/tmp}/vessa-footprint.XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  "$root/tests/wine/session.sh" stop "$state" shell >/dev/null 2>&1 || true
  rm -rf "$state"
}
trap cleanup EXIT

"$root/tests/wine/session.sh" start "$state" shell "$keeper_exe" 2>/dev/null
# shellcheck disable=SC1091
source "$state/shell/env"

# VESSA from a folder of its own, with its configuration beside it: an update every 100 ms.
folder=$state/vessa
mkdir -p "$folder"
cp "$vessa_exe" "$folder/vessa.exe"
printf '[general]\nupdate_interval_ms = 100\n' >"$folder/config.toml"

# Resident set in KiB, and CPU time in nanoseconds summed over all threads of one process
# (the scheduler's own account: finer than the 10 ms ticks of /proc/PID/stat, which an idle
# program never reaches).
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { printf "%.0f", sum }'; }

# Resident KiB by mapped file (anonymous memory as one line), largest first.
resident_by_file() {
  awk '/^[0-9a-f]+-[0-9a-f]+ / { name = NF >= 6 ? $6 : "[anonymous]"; for (i = 7; i <= NF; ++i) name = name " " $i }
       /^Rss:/ { sum[name] += $2 }
       END { for (n in sum) if (sum[n] > 0) printf "%8d KiB  %s\n", sum[n], n }' "/proc/$1/smaps" | sort -rn
}

# One side-by-side run: both programs started afresh, measured, and ended by process id.
# Appends "vessa_rss baseline_rss vessa_cpu_ns baseline_cpu_ns counters_cpu_ns" to $state/runs.
measure_once() {
  # `wine program.exe` becomes the Windows process itself: its process id is the one to watch.
  (cd "$folder" && exec wine "$folder/vessa.exe" >/dev/null 2>&1) &
  local vessa_pid=$!
  (exec wine "$baseline_exe" >/dev/null 2>&1) &
  local baseline_pid=$!
  (exec wine "$baseline_exe" --read-counters >/dev/null 2>&1) &
  local counters_pid=$!
  pids+=("$vessa_pid" "$baseline_pid" "$counters_pid")

  # Start counting once both are up, so that neither's start-up is part of the figures.
  sleep 3
  for pid in "$vessa_pid" "$baseline_pid" "$counters_pid"; do
    kill -0 "$pid" 2>/dev/null || { echo "process $pid ended early" >&2; exit 1; }
  done
  local vessa_cpu0 baseline_cpu0 counters_cpu0
  vessa_cpu0=$(cpu_ns "$vessa_pid")
  baseline_cpu0=$(cpu_ns "$baseline_pid")
  counters_cpu0=$(cpu_ns "$counters_pid")
  sleep "$seconds"
  echo "$(rss_kib "$vessa_pid") $(rss_kib "$baseline_pid") $(( $(cpu_ns "$vessa_pid") - vessa_cpu0 ))" \
    "$(( $(cpu_ns "$baseline_pid") - baseline_cpu0 )) $(( $(cpu_ns "$counters_pid") - counters_cpu0 ))" >>"$state/runs"
  if [ "${FOOTPRINT_MAPS:-0}" = 1 ]; then
    echo "VESSA, resident by mapping:"; resident_by_file "$vessa_pid"
    echo "baseline, resident by mapping:"; resident_by_file "$baseline_pid"
  fi
  kill "$vessa_pid" "$baseline_pid" "$counters_pid" 2>/dev/null || true
  wait "$vessa_pid" "$baseline_pid" "$counters_pid" 2>/dev/null || true
}

for ((run = 1; run <= runs; ++run)); do measure_once; done

vessa_size=$(stat -c %s "$vessa_exe")
# Each run's figures, then the run with the median CPU ratio (the noisier of the two figures:
# a few hundredths of a second against a few hundredths).
sort -n -k6 <(awk '{ printf "%s %.4f\n", $0, ($4 > 0 ? $3 / $4 : 0) }' "$state/runs") | awk -v s="$seconds" -v size="$vessa_size" -v runs="$runs" '
  function ratio(a, b) { return b > 0 ? sprintf("%.2f", a / b) : "n/a (baseline 0)" }
  { vr[NR] = $1; br[NR] = $2; vc[NR] = $3; bc[NR] = $4; cc[NR] = $5 }
  END {
    printf "vessa.exe: %d bytes (%.1f MiB)\n", size, size / 1048576
    if (runs > 1) {
      for (i = 1; i <= NR; ++i)
        printf "  run: working set ratio %s, CPU time %.3f s / %.3f s ratio %s, against the counter readings %s\n", ratio(vr[i], br[i]), vc[i] / 1e9, bc[i] / 1e9, ratio(vc[i], bc[i]), ratio(vc[i], cc[i])
    }
    m = int((NR + 1) / 2)
    printf "over %d s, VESSA updating every 100 ms%s:\n", s, (runs > 1 ? sprintf(" (the median of %d runs by CPU ratio)", runs) : "")
    printf "  working set   VESSA %7d KiB   baseline %7d KiB   ratio %s\n", vr[m], br[m], ratio(vr[m], br[m])
    printf "  CPU time      VESSA %7.3f s     baseline %7.3f s     ratio %s\n", vc[m] / 1e9, bc[m] / 1e9, ratio(vc[m], bc[m])
    printf "  CPU time      VESSA %7.3f s     baseline reading the counters %7.3f s     ratio %s\n", vc[m] / 1e9, cc[m] / 1e9, ratio(vc[m], cc[m])
  }'
