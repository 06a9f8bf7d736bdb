#!/usr/bin/env bash
# Runs a Windows test program against a local HTTPS server, in a world of its own:
#
#   https_namespace.sh STATE_DIR KEEPER_EXE COMMAND...
#
# The script re-runs itself in private network, mount and PID namespaces (unshare), where:
#   - the loopback interface is up and nothing else exists, so the server can take port 443;
#   - a temporary hosts file bound over /etc/hosts sends localhost, the forecast host
#     (api.open-meteo.com) and the place-search host (photon.komoot.io) to 127.0.0.1;
#   - a test CA and a server certificate for these names are made with openssl (STATE_DIR/tls);
#   - tests/win/https_server.py serves on 127.0.0.1:443;
#   - a Wine session of its own (tests/wine/session.sh, variant shell) runs, because Wine's
#     sockets are made by the wineserver, which must live in the same network namespace.
# COMMAND then runs with VESSA_WINE_STATE pointing at that session, VESSA_HTTPS_CA at the CA
# in DER form and VESSA_HTTPS_SERVER at the server's state folder. Everything started here is
# stopped by process id when the command ends; the namespaces vanish with their processes.
# Nothing outside STATE_DIR changes, but for the prepared Wine prefix that session.sh copies
# (VESSA_WINE_BASE, shared with the other sessions of the build tree).
set -Eeuo pipefail
# A step that fails says which one, so that a failed test run is never silent.
trap 'printf "https namespace: failed (status %s) at line %s: %s\n" "$?" "$LINENO" "$BASH_COMMAND" >&2' ERR

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
state=${1:?state dir}
keeper=${2:?keeper exe}
shift 2

if [ -z "${VESSA_HTTPS_NAMESPACE:-}" ]; then
  # An ordinary user gets the namespaces inside a user namespace of their own, where they
  # count as root (and own their files as such).
  user=()
  if [ "$(id -u)" -ne 0 ]; then user=(--map-root-user); fi
  if ! unshare "${user[@]}" --net --mount --pid --fork true 2>/dev/null; then
    echo "https namespace: private namespaces are not available (this needs root or user namespaces)" >&2
    exit 1
  fi
  # A PID namespace as well: should this script be killed (a test time-out), the kernel ends
  # every process started inside with it, so nothing outlives the test.
  exec env VESSA_HTTPS_NAMESPACE=1 unshare "${user[@]}" --net --mount --propagation private --pid --fork --kill-child \
    --mount-proc -- "$0" "$state" "$keeper" "$@"
fi

log() { printf 'https namespace: %s\n' "$*" >&2; }

server_pid=""
cleanup() {
  local status=$?
  "$here/../wine/session.sh" stop "$state" shell >/dev/null 2>&1 || true
  if [ -n "$server_pid" ] && kill -0 "$server_pid" 2>/dev/null; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  exit $status
}
trap cleanup EXIT

"$(command -v ip || echo /usr/sbin/ip)" link set lo up

# What an earlier run left; the prepared base prefix (session.sh) stays for the next run.
rm -rf "$state/tls" "$state/server" "$state/hosts" "$state/server.log"
mkdir -p "$state/tls" "$state/server"

printf '127.0.0.1 localhost\n127.0.0.1 api.open-meteo.com\n127.0.0.1 photon.komoot.io\n' >"$state/hosts"
mount --bind "$state/hosts" /etc/hosts

tls=$state/tls
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$tls/ca.key" -out "$tls/ca.pem" -days 2 \
  -subj "/CN=VESSA Test CA" -addext "basicConstraints=critical,CA:TRUE" \
  -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout "$tls/server.key" -out "$tls/server.csr" -subj "/CN=localhost" 2>/dev/null
printf 'subjectAltName=DNS:localhost,DNS:api.open-meteo.com,DNS:photon.komoot.io\nbasicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\n' \
  >"$tls/server.ext"
openssl x509 -req -in "$tls/server.csr" -CA "$tls/ca.pem" -CAkey "$tls/ca.key" -CAcreateserial \
  -out "$tls/server.pem" -days 2 -extfile "$tls/server.ext" 2>/dev/null
openssl x509 -in "$tls/ca.pem" -outform der -out "$tls/ca.der"

python3 "$here/https_server.py" --cert "$tls/server.pem" --key "$tls/server.key" --port 443 \
  --state "$state/server" >"$state/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do [ -s "$state/server/ready" ] && break; sleep 0.05; done
[ -s "$state/server/ready" ] || { log "the HTTPS server did not start"; cat "$state/server.log" >&2; exit 1; }

"$here/../wine/session.sh" start "$state" shell "$keeper"

VESSA_WINE_STATE=$state VESSA_WINE_VARIANT=shell VESSA_HTTPS_CA=$tls/ca.der VESSA_HTTPS_SERVER=$state/server \
  "$@"
