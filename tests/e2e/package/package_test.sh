#!/usr/bin/env bash
# Builds the package, unpacks it into a fresh folder and checks what a user gets, then runs the
# Windows-side test program given after the tools on the unpacked vessa.exe (VESSA_PACKAGE_EXE).
#
#   package_test.sh CMAKE BUILD_DIR FOLDER OBJDUMP NM ADDR2LINE UNSTRIPPED_EXE TEST_COMMAND...
set -euo pipefail
cmake=$1 build=$2 folder=$3 objdump=$4 nm=$5 addr2line=$6 unstripped=$7
shift 7

fail() { echo "package test: $*" >&2; exit 1; }

# The one command of the README; everything is already built, so it only writes the archive.
if ! output=$("$cmake" --build "$build" --target package 2>&1); then
  echo "$output" >&2
  fail "building the package failed"
fi
zip=$build/$folder-win64.zip
[ -f "$zip" ] || fail "no $zip"

unpacked=$build/test-output/package
rm -rf "$unpacked"
mkdir -p "$unpacked"
python3 -m zipfile -e "$zip" "$unpacked"
files=$(python3 - "$zip" <<'PY'
import sys, zipfile
print("\n".join(sorted(n for n in zipfile.ZipFile(sys.argv[1]).namelist() if not n.endswith("/"))))
PY
)
expected=$(printf '%s\n' "$folder/LICENSE" "$folder/README.txt" "$folder/configuration.md" "$folder/vessa.exe")
[ "$files" = "$expected" ] || fail "the archive holds
$files
instead of
$expected"
# The reference README.txt points to is the one the configuration's key list is checked against.
cmp -s "$unpacked/$folder/configuration.md" "$(dirname "$0")/../../../docs/configuration.md" ||
  fail "the packaged configuration.md is not docs/configuration.md"

exe=$unpacked/$folder/vessa.exe
sections=$("$objdump" -h "$exe" | awk '$1 ~ /^[0-9]+$/ { print $2 }')
if grep -q '^\.debug_' <<<"$sections"; then fail "vessa.exe carries debug sections: $(grep '^\.debug_' <<<"$sections" | tr '\n' ' ')"; fi
grep -qx '\.gnu_debuglink' <<<"$sections" || fail "vessa.exe has no debug link"
cmp -s "$exe" "$build/release/vessa.exe" || fail "the packaged vessa.exe is not release/vessa.exe"

# An address of the packaged executable resolves through its debug link to a function and a
# source line, as it would from a crash report.
address=$("$nm" "$unstripped" | awk '$2 == "T" && $3 == "wWinMain" { print $1 }')
[ -n "$address" ] || fail "no wWinMain in $unstripped"
resolved=$("$addr2line" -f -e "$build/release/vessa.exe" "0x$address" | tr '\n' ' ')
[[ $resolved == "wWinMain "*main_win.cpp:* ]] || fail "0x$address resolves to '$resolved' through the debug link"

VESSA_PACKAGE_EXE=$exe exec "$@"
