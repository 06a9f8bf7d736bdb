#!/usr/bin/env bash
# Installs with apt-get whatever VESSA's build, run and tests need and this Debian machine
# lacks. Safe to run again: packages already present are left alone. Tested on Debian 12 and 13.
#   VESSA_DEBIAN13=1 also installs debootstrap, which scripts/test-debian13.sh needs.
#   VESSA_TEST_PARTS as scripts/test.sh reads it: with only "windows" (the Debian 13 run), the
#   host test tools (native GoogleTest and Google Benchmark, clang for fuzzing) are left out.
set -euo pipefail

# Where releases name a package differently, the choices are written "a|b": the first name this
# release knows is taken (clang's runtime is libclang-rt-14-dev on Debian 12, libclang-rt-dev on 13).
packages=(
  cmake ninja-build g++ ccache git
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  wine64 wine xvfb x11-utils imagemagick xdotool
  libtomlplusplus-dev nlohmann-json3-dev googletest
  openssl python3 util-linux procps iproute2
)
parts=" ${VESSA_TEST_PARTS:-host tsan bench fuzz windows debian13} "
if [[ $parts == *" host "* || $parts == *" tsan "* || $parts == *" bench "* || $parts == *" fuzz "* ]]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang 'libclang-rt-dev|libclang-rt-14-dev')
fi
if [ "${VESSA_DEBIAN13:-0}" = 1 ]; then packages+=(debootstrap); fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

installed() { [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = 'install ok installed' ]; }
# A name this release's package lists offer (not merely mention as a virtual package). The
# output is read whole: grep -q would end the pipe early, and pipefail would count that a failure.
offered() { apt-cache show --no-all-versions "$1" 2>/dev/null | grep '^Version:' >/dev/null; }

missing=()
choices=()
for package in "${packages[@]}"; do
  if [[ $package == *'|'* ]]; then
    IFS='|' read -r -a names <<<"$package"
    found=""
    for name in "${names[@]}"; do
      if installed "$name"; then found=$name; break; fi
    done
    [ -n "$found" ] || choices+=("$package")
  elif ! installed "$package"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ] && [ ${#choices[@]} -eq 0 ]; then
  exit 0
fi

"${sudo_cmd[@]}" apt-get update -qq
for choice in "${choices[@]}"; do
  IFS='|' read -r -a names <<<"$choice"
  found=""
  for name in "${names[@]}"; do
    if offered "$name"; then found=$name; break; fi
  done
  if [ -z "$found" ]; then
    echo "install-deps: this release offers none of: ${names[*]}" >&2
    exit 1
  fi
  missing+=("$found")
done

echo "Installing: ${missing[*]}" >&2
# Through env, so that the setting survives sudo, which resets the environment.
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >&2
