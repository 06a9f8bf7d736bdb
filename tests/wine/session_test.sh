#!/usr/bin/env bash
# A Wine session leaves nothing running behind it:
#   1. "stop" ends every Wine program of the session, also after its wineserver was killed
#      outright (the programs then wait forever for the gone server);
#   2. when the test run dies with the keeper and Xvfb (its process group killed), the
#      wineserver ends the session's programs by itself within seconds.
#
#   session_test.sh STATE_DIR KEEPER_EXE
set -euo pipefail

session=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/session.sh
state=${1:?state dir}
keeper=${2:?keeper exe}
prefix=$state/shell/prefix

# The processes of the session: Wine programs and the Xvfb, whose environment names its prefix.
leftovers() {
  local file pid exe
  for file in $(grep -lsxzF "WINEPREFIX=$prefix" /proc/[0-9]*/environ); do
    pid=${file#/proc/}
    pid=${pid%/environ}
    exe=$(readlink "/proc/$pid/exe" 2>/dev/null) || continue
    case ${exe##*/} in wine* | Xvfb) echo "$pid ${exe##*/}" ;; esac
  done
}
pid_of() { leftovers | awk -v name="$1" '$2 == name { print $1; exit }'; }
fail() {
  echo "FAIL: $*" >&2
  leftovers >&2
  exit 1
}
trap 'bash "$session" stop "$state" shell >/dev/null 2>&1 || true' EXIT

bash "$session" start "$state" shell "$keeper" 2>/dev/null
server=$(pid_of wineserver64)
[ -n "$server" ] || server=$(pid_of wineserver)
[ -n "$server" ] || fail "no wineserver in the session"
kill -9 "$server"
sleep 1
[ -n "$(leftovers)" ] || fail "killing the wineserver ended its programs: nothing left to test"
bash "$session" stop "$state" shell 2>/dev/null
[ -z "$(leftovers)" ] || fail "processes left after stop"
echo "ok: stop ends the programs of a session whose wineserver was killed"

bash "$session" start "$state" shell "$keeper" 2>/dev/null
kill "$(cut -d" " -f1 "$state/shell/keeper.pid")" "$(cut -d" " -f1 "$state/shell/xvfb.pid")"  # each file: id, start time
for _ in $(seq 1 150); do [ -z "$(leftovers)" ] && break; sleep 0.1; done
[ -z "$(leftovers)" ] || fail "processes left 15 s after the keeper and Xvfb were killed"
echo "ok: the session ends by itself when its keeper is killed"
