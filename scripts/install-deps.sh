#!/usr/bin/env bash
# Installs, on Debian 12, whatever the build, the game and the tests need and the machine lacks.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang
  libsdl2-dev libsdl2-mixer-dev libx11-dev xvfb xdotool
  libfreetype-dev libfontconfig-dev fonts-liberation
  libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libgtest-dev googletest libbenchmark-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or install these packages): ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
