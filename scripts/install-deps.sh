#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build, run and test the plug-in. Quiet when nothing is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config ccache
    juce-modules-source
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-lato fonts-glasstty
    xvfb xauth x11-utils
    clang libclang-rt-14-dev llvm
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

echo "Installing: ${missing[*]}"
$sudo apt-get update -q >/dev/null
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
