#!/usr/bin/env bash
# What following the taskbar costs on every update tick, beside the tick it rides on, measured
# on the real Win32 functions under Wine in a desktop with a taskbar (bench/taskbar_look/).
#
#   bench/taskbar-look.sh [WINDOWS_BUILD_DIR]
#
# WINDOWS_BUILD_DIR defaults to build/win and must hold bin/vessa_taskbar_look.exe and the
# keeper program (ninja -C build/win vessa_taskbar_look vessa_keeper). The Wine session is a
# private one (tests/wine/session.sh), stopped afterwards.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
bench_exe=$build/bin/vessa_taskbar_look.exe
keeper_exe=$build/tests/support/vessa_keeper.exe
for file in "$bench_exe" "$keeper_exe"; do
  [ -f "$file" ] || { echo "missing $file: build the Windows tree first" >&2; exit 1; }
done

state=$(mktemp -d "${TMPDIR:-/tmp}/vessa-taskbar-look.XXXXXX")
cleanup() {
  "$root/tests/wine/session.sh" stop "$state" shell >/dev/null 2>&1 || true
  rm -rf "$state"
}
trap cleanup EXIT

VESSA_WINE_BASE=${VESSA_WINE_BASE:-$build/wine-session/base-prefix} \
  "$root/tests/wine/session.sh" start "$state" shell "$keeper_exe" 2>/dev/null
# shellcheck disable=SC1091
source "$state/shell/env"
wine "$bench_exe" | tr -d '\r'
