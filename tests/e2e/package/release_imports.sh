#!/usr/bin/env bash
# The libraries the release vessa.exe imports directly, loaded with the process: the ones it
# needs to start and draw the bars, and no others. WinHTTP and the libraries of the settings
# window and of the clock search (colour chooser, DWM, OLE Automation, common controls,
# themes) are delay-loaded on first use (the theme library already at start-up, for dark
# menus); one linked directly again shows here.
#
#   release_imports.sh OBJDUMP VESSA_EXE
set -euo pipefail
objdump=$1
exe=$2
expected="advapi32.dll
api-ms-win-core-winrt-l1-1-0.dll
api-ms-win-core-winrt-string-l1-1-0.dll
gdi32.dll
kernel32.dll
msvcrt.dll
ole32.dll
pdh.dll
powrprof.dll
shell32.dll
user32.dll"
actual=$("$objdump" -p "$exe" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
if [ "$actual" != "$expected" ]; then
  echo "vessa.exe imports differ from the start-up set (< expected, > imported):"
  diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual") || true
  exit 1
fi
echo "vessa.exe imports only its start-up libraries"
