#!/usr/bin/env bash
# Cross-builds jsoncpp and Crypto++ for 32- or 64-bit Windows from Debian's
# source packages, pinned to the versions Debian 12 ships. The result is cached
# in the build tree: <out>/include and <out>/lib. Nothing here is committed.
#
#   build-deps-windows.sh <output-dir> <i686|x86_64> [posix|win32]
set -euo pipefail

usage="usage: build-deps-windows.sh <output-dir> <i686|x86_64> [posix|win32]"
out=$(realpath -m "${1:?$usage}")
cpu=${2:?$usage}
# The compilers' thread model, as for the tree that links the libraries.
threads=${3:-posix}
case "$cpu" in i686 | x86_64) ;; *) echo "$usage" >&2; exit 2 ;; esac
case "$threads" in posix | win32) ;; *) echo "$usage" >&2; exit 2 ;; esac
JSONCPP_VERSION=1.9.5-4
CRYPTOPP_VERSION=8.7.0+git220824-1
stamp="$out/.built-$JSONCPP_VERSION-$CRYPTOPP_VERSION"
[ -f "$stamp" ] && exit 0

triplet=$cpu-w64-mingw32
CXX=$triplet-g++-$threads
AR=$triplet-ar
RANLIB=$triplet-ranlib
src="$out/src"
rm -rf "$src" "$out/include" "$out/lib"
mkdir -p "$src" "$out/include" "$out/lib"
cd "$src"
echo "deps: fetching source packages libjsoncpp=$JSONCPP_VERSION libcrypto++=$CRYPTOPP_VERSION" >&2
apt-get source -qq "libjsoncpp=$JSONCPP_VERSION" "libcrypto++=$CRYPTOPP_VERSION" >/dev/null 2>&1 ||
  apt-get source -qq "libjsoncpp=$JSONCPP_VERSION" "libcrypto++=$CRYPTOPP_VERSION" >/dev/null
jsoncpp_dir=$(find . -maxdepth 1 -type d -name 'libjsoncpp-*' | head -n1)
cryptopp_dir=$(find . -maxdepth 1 -type d -name 'libcrypto++-*' | head -n1)

echo "deps: building jsoncpp for $triplet" >&2
mkdir -p jsoncpp-obj
for f in json_reader json_value json_writer; do
  $CXX -std=c++17 -O2 -I "$jsoncpp_dir/include" -c "$jsoncpp_dir/src/lib_json/$f.cpp" -o "jsoncpp-obj/$f.o"
done
$AR rcs "$out/lib/libjsoncpp.a" jsoncpp-obj/*.o
cp -r "$jsoncpp_dir/include/json" "$out/include/"

echo "deps: building Crypto++ for $triplet (a few minutes)" >&2
make -s -C "$cryptopp_dir" -f GNUmakefile-cross -j"$(nproc)" static \
  CXX="$CXX" AR="$AR" RANLIB="$RANLIB" \
  CXXFLAGS="-O2 -DNDEBUG -DCRYPTOPP_DISABLE_ASM -std=c++17" >/dev/null 2>&1
mkdir -p "$out/include/cryptopp"
cp "$cryptopp_dir"/*.h "$out/include/cryptopp/"
cp "$cryptopp_dir/libcryptopp.a" "$out/lib/libcryptopp.a"
touch "$stamp"
echo "deps: done" >&2
