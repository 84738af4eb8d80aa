#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing
# Velquorin; packages already present are left alone.
set -euo pipefail
packages=(
  cmake ninja-build g++ make
  googletest libgtest-dev libgmock-dev libboost-context-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64
  clang libclang-rt-14-dev
  libcairo2-dev libcli11-dev libgif-dev valgrind tmux zip
  python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" > /dev/null
