#!/usr/bin/env bash
# Installs with apt-get whatever VESSA's build, run and tests need and this Debian machine
# lacks. Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  cmake ninja-build g++ ccache git
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  wine64 wine xvfb x11-utils imagemagick xdotool
  libtomlplusplus-dev nlohmann-json3-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  openssl python3 util-linux procps iproute2
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}" >&2
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
"${sudo_cmd[@]}" apt-get update -qq
# Through env, so that the setting survives sudo, which resets the environment.
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >&2
