#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and run the project.
# Safe to run any number of times: apt is only touched when a package is missing.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine64 xvfb xauth x11-utils
  googletest
  imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The posix thread model is the one the toolchain file names explicitly; nothing to switch.
echo "setup: all packages present"
