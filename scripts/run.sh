#!/usr/bin/env bash
# Builds VESSA and runs it in a Wine virtual desktop that has a taskbar.
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

cache=()
if command -v ccache >/dev/null 2>&1; then
  cache=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cache[@]}" >/dev/null
cmake --build "$build/win" --target vessa vessa_keeper

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

VESSA_WINE_USE_DISPLAY=${DISPLAY:-} bash "$session" start "$state" shell "$build/win/tests/support/vessa_keeper.exe"
# shellcheck disable=SC1091
source "$state/shell/env"

# VESSA keeps its config.toml beside the executable, so it runs from a folder of its own.
run_dir=$build/run
mkdir -p "$run_dir"
cp "$build/win/bin/vessa.exe" "$run_dir/vessa.exe"

desktop_window() {
  local id
  id=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -1 || true)
  echo "${id:-root}"
}
# The taskbar is the bottom strip of the 1280x800 virtual desktop.
grab_taskbar() { import -window "$(desktop_window)" -crop 1280x20+0+780 +repage "$1" 2>/dev/null; }

before=$run_dir/taskbar-before.png
grab_taskbar "$before" || true

wine "$run_dir/vessa.exe" "${args[@]}" &
vessa_pid=$!
echo "VESSA is running (Wine process $vessa_pid) on DISPLAY=$DISPLAY. Press Ctrl+C to stop it."

shot=$run_dir/vessa-taskbar.png
drawn=0
for _ in $(seq 1 100); do
  sleep 0.2
  kill -0 "$vessa_pid" 2>/dev/null || break
  grab_taskbar "$shot" || continue
  if [ -f "$before" ] && [ "$(compare -metric AE "$before" "$shot" null: 2>&1 || true)" != "0" ]; then
    drawn=1
    break
  fi
done
if [ $drawn = 1 ]; then
  sleep 0.5
  grab_taskbar "$shot"
  import -window "$(desktop_window)" "$run_dir/vessa-desktop.png" 2>/dev/null || true
  echo "Screenshot of the taskbar: $shot"
  echo "Screenshot of the desktop: $run_dir/vessa-desktop.png"
else
  echo "The taskbar did not change within 20 s; last look: $shot" >&2
fi

wait "$vessa_pid"
