#!/usr/bin/env bash
# BUILDINFO.txt, beside the release zip: what the release was built from
# and with, so that a rebuild elsewhere or years later can use the same
# (compare-buildinfo.sh says where it differs). Like Debian's .buildinfo,
# but without the build's date or path: the same commit built with the
# same packages gives the same file.
#   write-buildinfo.sh SOURCE_VERSION SOURCE_DATE_EPOCH > BUILDINFO.txt
set -euo pipefail
source_version=$1 source_date=$2

# What puts bytes into a released file, found by tracing the release's
# build (`strace -f -e trace=execve,openat` of the configure and build
# steps and of make-dist.sh): the packages owning each program run and
# each file read, less the shared libraries that cmake, git and the shells
# link for the network, archives and terminals.
packages=(
  # The Windows files: the compiler and the libraries it computes with,
  # binutils, the Windows headers and runtime, the checker's option parser.
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-common mingw-w64-x86-64-dev libgmp10 libmpfr6 libmpc3 libisl23 zlib1g libzstd1
  libcli11-dev
  # The settings page: emscripten, its LLVM and Binaryen, and the Python
  # (Debian's, whatever python3 the PATH finds first: the web preset says
  # EMSDK_PYTHON) and Node.js it runs under.
  emscripten clang-14 libclang-cpp14 libclang-common-14-dev libllvm14 lld-14 llvm-14
  llvm-14-linker-tools binaryen python3.11-minimal libpython3.11-minimal libpython3.11-stdlib
  nodejs node-acorn
  # The build's driver and the zip: line ends, dates, sums.
  cmake cmake-data ninja-build git bash coreutils sed mawk zip tzdata libc6 libstdc++6
)

# One " name version" line each. A package missing, or one dpkg has never
# heard of, means the build could not have run here: the release stops,
# naming it, before a line is written (make-dist.sh writes this file
# before it touches the release folder).
installed=$(dpkg-query -W -f='${db:Status-Abbrev}| ${Package} ${Version}\n' "${packages[@]}" 2> /dev/null || true)
missing=$(comm -23 <(printf '%s\n' "${packages[@]}" | LC_ALL=C sort -u) \
                   <(grep '^ii ' <<< "$installed" | cut -d' ' -f3 | LC_ALL=C sort -u) | tr '\n' ' ')
[ -z "$missing" ] || { echo "write-buildinfo.sh: not installed: ${missing% }" >&2; exit 1; }

. /etc/os-release
echo "Velquorin $source_version, as built for release"
echo "Commit: ${source_version#*+}"
echo "SOURCE_DATE_EPOCH: $source_date"
echo "Debian: $(cat /etc/debian_version) ($VERSION_CODENAME), $(dpkg --print-architecture)"
echo "Packages:"
grep '^ii ' <<< "$installed" | cut -d'|' -f2 | LC_ALL=C sort
