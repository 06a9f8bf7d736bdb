#!/usr/bin/env bash
# Writes the README's pictures of the settings window: docs/settings-monitors.png,
# docs/settings-appearance.png and docs/settings-about.png, its three pages in English in the
# dark application theme, taken from the real window in a Wine desktop by the end-to-end test
# vessa_e2e_settings_pictures (tests/e2e/settings), which also checks what they show.
#
#   settings-pictures.sh                     build vessa.exe and the test, run it, convert
#   settings-pictures.sh --from-last-run DIR convert what the last ctest run in the Windows
#                                            build tree DIR left (scripts/test.sh does this)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
pages=(monitors appearance about)

if [ "${1:-}" = --from-last-run ]; then
  win=${2:?the Windows build tree}
else
  win=${VESSA_BUILD_DIR:-$root/build}/win
  bash "$root/scripts/install-deps.sh"
  # shellcheck source=scripts/build_trees.sh
  source "$root/scripts/build_trees.sh"
  configure_windows_tree "$win"
  cmake --build "$win" --target vessa vessa_keeper vessa_e2e_settings
  for page in "${pages[@]}"; do rm -f "$win/test-output/settings-$page.bmp"; done
  ctest --test-dir "$win" -R '^vessa_e2e_settings_pictures$' --output-on-failure
fi

for page in "${pages[@]}"; do
  picture=$win/test-output/settings-$page.bmp
  [ -f "$picture" ] || { echo "settings-pictures: no $picture (did the test run?)" >&2; exit 1; }
  # No time stamps in the file, so that an unchanged window gives unchanged bytes.
  convert "$picture" -strip -define png:exclude-chunks=date,time "$root/docs/settings-$page.png"
  echo "$root/docs/settings-$page.png"
done
