#!/usr/bin/env bash
# Starts or stops one Wine test session ("variant") for the Windows-side tests.
#
#   session.sh start STATE_DIR VARIANT KEEPER_EXE
#   session.sh stop  STATE_DIR VARIANT
#
# VARIANT is shell (a virtual desktop with a taskbar), plain (no taskbar), dpi144 (shell at
# 144 DPI) or nodisplay (Wine's null display driver). With VESSA_WINE_USE_DISPLAY set, the
# desktop opens on that X display instead of a private Xvfb. VESSA_WINE_BASE names the
# prepared prefix to copy (default STATE_DIR/base-prefix), so that sessions kept in other
# state folders of one build tree prepare it only once.
#
# A session is a private copy of a prepared Wine prefix, an Xvfb display of its own (except for
# "nodisplay") and a small keeper program that holds the desktop, so that the wineserver,
# explorer and its taskbar stay up between test programs. Everything a session starts is
# recorded by process id and start time under STATE_DIR/VARIANT, or known by the session's own
# prefix, and stopped by "stop"; nothing else on the machine is touched. Should the keeper be
# killed with the test run (its process group), the wineserver ends the session's Wine programs
# itself a few seconds later.
set -Eeuo pipefail
# A step that fails says which one: a session that did not start is never a silent failure.
trap 'printf "wine session: failed (status %s) at line %s: %s\n" "$?" "$LINENO" "$BASH_COMMAND" >&2' ERR

action=${1:?action}
state=${2:?state dir}
variant=${3:?variant}
dir=$state/$variant

log() { printf 'wine session %s: %s\n' "$variant" "$*" >&2; }

wine_env() {
  export WINEPREFIX=$dir/prefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# The base prefix is prepared once; each session copies it (about a second).
base=${VESSA_WINE_BASE:-$state/base-prefix}
prepare_base() {
  if [ -f "$base/.ready" ]; then return; fi
  mkdir -p "$(dirname "$base")"
  (
    exec 9>"$base.lock"
    flock 9
    if [ -f "$base/.ready" ]; then exit 0; fi
    rm -rf "$base"
    log "preparing the base Wine prefix (once per build tree)"
    WINEPREFIX=$base WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
      DISPLAY= wineboot -i >/dev/null 2>&1
    WINEPREFIX=$base WINEDEBUG=-all DISPLAY= wine winecfg -v win10 >/dev/null 2>&1 || true
    WINEPREFIX=$base wineserver -w
    touch "$base/.ready"
  )
}

# A fresh prefix's first commands can meet Wine still starting its own services ("Application
# could not be started" from reg); the next try a moment later gets through.
reg_add() {
  local output attempt
  for attempt in 1 2 3; do
    output=$(wine reg add "$@" /f 2>&1) && return 0
    sleep 1
  done
  log "wine reg add $* failed: $output"
  return 1
}

start() {
  local keeper=${1:?keeper exe}
  stop_quietly
  mkdir -p "$dir"
  prepare_base
  cp -a "$base" "$dir/prefix"
  rm -f "$dir/prefix/.ready"
  wine_env

  local display=""
  if [ "$variant" != nodisplay ] && [ -n "${VESSA_WINE_USE_DISPLAY:-}" ]; then
    # Show the desktop on the user's own display instead of a private Xvfb.
    display=$VESSA_WINE_USE_DISPLAY
  elif [ "$variant" != nodisplay ]; then
    # Xvfb picks a free display number itself and writes it to the given descriptor.
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    record_pid $! "$dir/xvfb.pid"
    for _ in $(seq 1 100); do [ -s "$dir/display" ] && break; sleep 0.05; done
    [ -s "$dir/display" ] || { log "Xvfb did not start"; cat "$dir/xvfb.log" >&2; exit 1; }
    display=":$(tr -d '[:space:]' <"$dir/display")"
  fi
  export DISPLAY=$display

  case $variant in
    shell|dpi144)
      reg_add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell
      reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1280x800 ;;
    plain)
      reg_add 'HKCU\Software\Wine\Explorer' /v Desktop /d plain
      reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v plain /d 1280x800 ;;
  esac
  if [ "$variant" = nodisplay ]; then
    # Without this Wine finds no display driver and no top-level window can be created at all.
    reg_add 'HKCU\Software\Wine\Drivers' /v Graphics /d null
  fi
  if [ "$variant" = dpi144 ]; then
    reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144
  fi
  # Settings take effect with a fresh wineserver, which the keeper starts and holds.
  end_wine "$WINEPREFIX"

  {
    echo "export WINEPREFIX='$WINEPREFIX'"
    echo "export WINEDEBUG='$WINEDEBUG'"
    echo "export WINEDLLOVERRIDES='$WINEDLLOVERRIDES'"
    if [ -n "$display" ]; then echo "export DISPLAY='$display'"; else echo "unset DISPLAY"; fi
  } >"$dir/env"

  local keeper_mode=plain
  case $variant in shell|dpi144) keeper_mode=taskbar ;; esac
  wine "$keeper" "$keeper_mode" >"$dir/keeper.log" 2>&1 &
  record_pid $! "$dir/keeper.pid"
  # The keeper says "ready" once the desktop (and its taskbar, where there is one) is up.
  local ready=0
  for _ in $(seq 1 200); do
    if grep -q '^ready' "$dir/keeper.log" 2>/dev/null; then ready=1; break; fi
    sleep 0.1
  done
  [ $ready = 1 ] || { log "the desktop did not come up"; cat "$dir/keeper.log" >&2; exit 1; }
  log "ready (DISPLAY=${display:-none})"
}

# A process's start time in clock ticks since boot (the field after its name in /proc's stat,
# read past the name, which may hold spaces).
start_time() { { sed 's/.*) //' "/proc/$1/stat" 2>/dev/null || true; } | cut -d' ' -f20; }

# The id of a process started here, with its start time: a file left by an interrupted run may
# name an id that a later process has since been given (soon, in a fresh pid namespace), and
# that one is not ours to end.
record_pid() { echo "$1 $(start_time "$1")" >"$2"; }

kill_pidfile() {
  local file=$1
  [ -f "$file" ] || return 0
  local pid started
  read -r pid started <"$file" || true
  if [ -n "$pid" ] && [ -n "$started" ] && [ "$(start_time "$pid")" = "$started" ]; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$file"
}

# The Wine programs still running in `prefix`: those whose environment names it (no one else
# uses a session's prefix).
prefix_wine_pids() {
  local file pid exe
  # grep says 1 when there is none, and 2 when a process ends while it is being read.
  for file in $(grep -lsxzF "WINEPREFIX=$1" /proc/[0-9]*/environ || true); do
    pid=${file#/proc/}
    pid=${pid%/environ}
    exe=$(readlink "/proc/$pid/exe" 2>/dev/null) || continue
    case ${exe##*/} in wine*) echo "$pid" ;; esac
  done
}

# Ends the wineserver of `prefix` and every Wine program of it. wineserver -k ends the programs
# it knows; but a program whose wineserver went without ending it (killed outright, or by -k's
# own SIGKILL when the server is slow to exit on a busy machine) waits forever for the gone
# server, each holding pipe ends of the others: those are killed by process id.
end_wine() {
  local prefix=$1 pids
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  pids=$(prefix_wine_pids "$prefix")
  [ -z "$pids" ] && return 0
  # shellcheck disable=SC2086
  kill -9 $pids 2>/dev/null || true
  for _ in $(seq 1 50); do [ -z "$(prefix_wine_pids "$prefix")" ] && break; sleep 0.1; done
}

stop_quietly() {
  end_wine "$dir/prefix"
  kill_pidfile "$dir/keeper.pid"
  kill_pidfile "$dir/xvfb.pid"
  rm -rf "$dir"
}

case $action in
  start) start "${4:?keeper exe}" ;;
  stop) stop_quietly; log "stopped" ;;
  *) echo "usage: $0 start|stop STATE VARIANT [KEEPER]" >&2; exit 2 ;;
esac
