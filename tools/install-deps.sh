#!/usr/bin/env bash
# Installs what the project builds and tests with, on Debian 12.
set -euo pipefail
packages=(build-essential cmake pkg-config libmbedtls-dev libhidapi-dev libgtest-dev libgmock-dev
          libbenchmark-dev zlib1g-dev qt6-base-dev qt6-multimedia-dev libsndfile1-dev
          gstreamer1.0-plugins-base gstreamer1.0-plugins-good sound-theme-freedesktop xvfb xauth xdotool
          fonts-dejavu-core qpdf clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
