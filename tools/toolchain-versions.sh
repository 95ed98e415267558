#!/usr/bin/env bash
# What a release's bytes depend on besides the source: the cross compiler,
# binutils and the mingw-w64 run-time (Debian's packages, by version), and the
# source packages of the two libraries linked in. One line each, for the
# record next to a published SHA-256 (docs/security.md).
#
#   toolchain-versions.sh <i686|x86_64> <win32|posix>
set -euo pipefail
cpu=${1:?usage: toolchain-versions.sh <i686|x86_64> <win32|posix>}
threads=${2:?usage: toolchain-versions.sh <i686|x86_64> <win32|posix>}
arch=${cpu//_/-}
deps=$(dirname "$0")/build-deps-windows.sh
version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo "not installed"; }
pinned() { sed -n "s/^$1=//p" "$deps"; }
echo "toolchain: g++-mingw-w64-$arch-$threads $(version "g++-mingw-w64-$arch-$threads")"
echo "toolchain: binutils-mingw-w64-$arch $(version "binutils-mingw-w64-$arch")"
echo "toolchain: mingw-w64-$arch-dev $(version "mingw-w64-$arch-dev") (run-time and headers)"
echo "toolchain: source packages libjsoncpp $(pinned JSONCPP_VERSION), libcrypto++ $(pinned CRYPTOPP_VERSION)"
