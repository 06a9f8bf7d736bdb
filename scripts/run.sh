#!/usr/bin/env bash
# Builds VESSA and runs it in a Wine virtual desktop that has a taskbar: the release
# executable that goes into the package (release/vessa.exe, without debug sections).
#
# With a display ($DISPLAY set) the desktop opens there. Without one, a private Xvfb is
# started; once the bars are drawn, a screenshot of the taskbar is saved and its path printed.
# VESSA keeps running until interrupted (Ctrl+C); then everything this script started is
# stopped. Arguments are passed to vessa.exe (default: --debug, so its diagnostics show).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VESSA_BUILD_DIR:-$root/build}
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(--debug)

bash "$root/scripts/install-deps.sh"

# shellcheck source=scripts/build_trees.sh
source "$root/scripts/build_trees.sh"
configure_windows_tree "$build/win"
cmake --build "$build/win" --target vessa_release vessa_keeper

state=$build/run-session
session=$root/tests/wine/session.sh
vessa_pid=""
cleanup() {
  trap - EXIT INT TERM
  if [ -n "$vessa_pid" ] && kill -0 "$vessa_pid" 2>/dev/null; then kill "$vessa_pid" 2>/dev/null || true; fi
  bash "$session" stop "$state" shell >/dev/null 2>&1 || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

VESSA_WINE_USE_DISPLAY=${DISPLAY:-} VESSA_WINE_BASE=$build/win/wine-session/base-prefix bash "$session" start "$state" shell "$build/win/tests/support/vessa_keeper.exe"
# shellcheck disable=SC1091
source "$state/shell/env"

# VESSA keeps its config.toml beside the executable, so it runs from a folder of its own.
run_dir=$build/run
mkdir -p "$run_dir"
cp "$build/win/release/vessa.exe" "$run_dir/vessa.exe"

desktop_window() {
  local id
  id=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -1 || true)
  echo "${id:-root}"
}
grab() { import -window "$(desktop_window)" "$1" 2>/dev/null; }
# The pixels of one region ("WxH+X+Y") of a screenshot, as a checksum.
region_sum() { convert "$1" -crop "$2" +repage rgb:- 2>/dev/null | cksum; }

debug=0
for arg in "${args[@]}"; do [ "$arg" = --debug ] && debug=1; done
# Where to look for the bars: with --debug, the bar window's rectangle from vessa.exe's last
# relayout line; without it, the taskbar strip. Either stops short of the first tray icon
# cell of Wine's 1280x800 desktop (x 1260 on), which shows before the bars are drawn.
watch_region() {
  local line x y w h right
  local re='placement=Placement \{ x: (-?[0-9]+), y: (-?[0-9]+), width: ([0-9]+), height: ([0-9]+) \}'
  if [ $debug = 0 ]; then echo "1260x20+0+780"; return; fi
  line=$(tr -d '\r' <"$log" | grep '^relayout ' | tail -1) || return 0
  [[ $line =~ $re ]] || return 0
  x=${BASH_REMATCH[1]} y=${BASH_REMATCH[2]} w=${BASH_REMATCH[3]} h=${BASH_REMATCH[4]}
  [ "$x" -lt 0 ] && { w=$((w + x)); x=0; }
  [ "$y" -lt 0 ] && { h=$((h + y)); y=0; }
  right=$((x + w))
  if [ "$x" -lt 1260 ] && [ "$right" -gt 1260 ]; then right=1260; fi
  [ $((right - x)) -gt 0 ] && [ "$h" -gt 0 ] && echo "$((right - x))x${h}+${x}+${y}"
  return 0
}

before=$run_dir/desktop-before.png
grab "$before" || true

# The output goes to the terminal and to a log, where the relayout lines are read.
log=$run_dir/vessa.log
: >"$log"
wine "$run_dir/vessa.exe" "${args[@]}" > >(tee "$log") 2>&1 &
vessa_pid=$!
echo "VESSA is running (Wine process $vessa_pid) on DISPLAY=$DISPLAY. Press Ctrl+C to stop it."

now=$run_dir/desktop-now.png
drawn=0
for _ in $(seq 1 150); do
  sleep 0.2
  if ! kill -0 "$vessa_pid" 2>/dev/null; then
    status=0
    wait "$vessa_pid" || status=$?
    vessa_pid=""
    echo "vessa.exe ended with status $status before the bars were drawn." >&2
    exit "$status"
  fi
  region=$(watch_region)
  [ -n "$region" ] && [ -f "$before" ] || continue
  grab "$now" || continue
  if [ "$(region_sum "$before" "$region")" != "$(region_sum "$now" "$region")" ]; then
    drawn=1
    break
  fi
done
shot=$run_dir/vessa-taskbar.png
sleep 0.5
grab "$run_dir/vessa-desktop.png" || true
convert "$run_dir/vessa-desktop.png" -crop 1280x20+0+780 +repage "$shot" 2>/dev/null || true
rm -f "$now"
if [ $drawn = 1 ]; then
  echo "Screenshot of the taskbar: $shot"
  echo "Screenshot of the desktop: $run_dir/vessa-desktop.png"
else
  echo "No bars were drawn within 30 s; the taskbar as it is: $shot" >&2
fi

wait "$vessa_pid"
