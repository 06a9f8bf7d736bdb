#!/usr/bin/env bash
# Regenerates the pictures in docs/:
#   bars-*.png           the bars as Windows shows them, blended over dark and light taskbar
#                        strips at 100 % and 150 % (tools/taskbar_pictures, host build);
#   tooltip-in-wine.png  the tooltip of the release vessa.exe, hovered in a Wine desktop with a
#                        taskbar (an opaque window, so Wine shows it as Windows does).
# A host test compares the bars pictures with what the program draws, so run this after a
# change to the drawing or the default configuration.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VESSA_BUILD_DIR:-$root/build}
docs=$root/docs

bash "$root/scripts/install-deps.sh"
# shellcheck source=scripts/build_trees.sh
source "$root/scripts/build_trees.sh"

configure_host_tree "$build/host"
cmake --build "$build/host" --target vessa_taskbar_pictures
"$build/host/tools/taskbar_pictures/vessa_taskbar_pictures" "$docs"

configure_windows_tree "$build/win"
cmake --build "$build/win" --target vessa_release vessa_keeper

# A private session with a taskbar on a private Xvfb, stopped on the way out.
state=$(mktemp -d "${TMPDIR:-/tmp}/vessa-pictures.XXXXXX")
vessa_pid=""
cleanup() {
  if [ -n "$vessa_pid" ]; then kill "$vessa_pid" 2>/dev/null || true; fi
  bash "$root/tests/wine/session.sh" stop "$state" shell >/dev/null 2>&1 || true
  rm -rf "$state"
}
trap cleanup EXIT
VESSA_WINE_BASE=$build/win/wine-session/base-prefix \
  bash "$root/tests/wine/session.sh" start "$state" shell "$build/win/tests/support/vessa_keeper.exe"
# shellcheck disable=SC1091
source "$state/shell/env"

folder=$state/vessa
mkdir -p "$folder"
cp "$build/win/release/vessa.exe" "$folder/vessa.exe"
log=$state/vessa.log
(cd "$folder" && exec wine "$folder/vessa.exe" --debug >"$log" 2>&1) &
vessa_pid=$!

# The bar window's rectangle from its relayout line; then the pointer rests on the bars.
re='placement=Placement \{ x: (-?[0-9]+), y: (-?[0-9]+), width: ([0-9]+), height: ([0-9]+) \}'
placement=()
for _ in $(seq 1 100); do
  line=$(tr -d '\r' <"$log" | grep '^relayout ' | tail -1 || true)
  if [[ $line =~ $re ]]; then placement=("${BASH_REMATCH[@]:1}"); break; fi
  sleep 0.1
done
[ ${#placement[@]} -eq 4 ] || { echo "vessa.exe wrote no relayout line" >&2; cat "$log" >&2; exit 1; }
x=$((placement[0] + placement[2] / 2))
y=$((placement[1] + placement[3] / 2))
sleep 1
xdotool mousemove "$((x - 4))" "$y"
sleep 0.3
xdotool mousemove "$x" "$y"
sleep 2

# The corner of the desktop that holds the bars and the tooltip above them, with a margin.
shot=$state/desktop.png
import -window root "$shot"
read -r width height < <(identify -format '%w %h\n' "$shot")
left=$((width - 420))
top=$((height - 200))
convert "$shot" -crop "420x200+${left}+${top}" +repage -strip -define png:exclude-chunks=date,time \
  "$docs/tooltip-in-wine.png"
echo "$docs/tooltip-in-wine.png"
