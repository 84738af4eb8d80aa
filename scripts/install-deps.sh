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
  emscripten node-acorn chromium firefox-esr
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# npm comes with Node.js from some sources and as Debian's own package
# from others: only a machine without it gets Debian's.
command -v npm > /dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq "${missing[@]}" > /dev/null
fi

# The settings page's browser tests drive Chromium and Firefox ESR with
# puppeteer-core, at the version web/package.json pins; it brings no
# browser of its own, the tests use Debian's.
web=$(cd "$(dirname "$0")/../web" && pwd)
wanted=$(sed -n 's/.*"puppeteer-core": "\(.*\)".*/\1/p' "$web/package.json")
had=$(sed -n 's/^  "version": "\(.*\)",$/\1/p' "$web/node_modules/puppeteer-core/package.json" 2> /dev/null || true)
if [ "$had" != "$wanted" ]; then
  echo "Installing web/node_modules (npm ci)"
  PUPPETEER_SKIP_DOWNLOAD=1 npm ci --prefix "$web" --no-audit --no-fund > /dev/null
fi
