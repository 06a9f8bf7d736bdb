#!/usr/bin/env bash
# Runs a Windows program under Wine in the session prepared by session.sh for the variant
# named by VESSA_WINE_VARIANT (shell by default). CTest uses it as the cross-compiling
# emulator, so `wine prog.exe` runs synchronously and passes the exit status through.
set -euo pipefail
state=${VESSA_WINE_STATE:?VESSA_WINE_STATE is not set: run the Windows tests through ctest}
variant=${VESSA_WINE_VARIANT:-shell}
if [ ! -f "$state/$variant/env" ]; then
  echo "run-in-wine: no running Wine session '$variant' under $state" >&2
  exit 1
fi
# shellcheck disable=SC1090
source "$state/$variant/env"
exec wine "$@"
