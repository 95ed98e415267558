#!/usr/bin/env bash
# Cross-builds jsoncpp and Crypto++ for 32- or 64-bit Windows from Debian's
# source packages, pinned to the versions Debian 12 ships. The result is cached
# in the build tree: <out>/include and <out>/lib. Nothing here is committed.
#
#   build-deps-windows.sh <output-dir> <i686|x86_64> [posix|win32 [whole|small]]
#
# Every build of jsoncpp reads its reals and reports its failures without a
# C++ stream (platform/JsoncppWithoutStreams.h, included ahead of each source).
# Both libraries get the product's hardening (stack canaries, checked string
# and memory functions: jsoncpp parses what the update server says), and no
# build folder in their objects, so that a rebuild elsewhere gives the same
# bytes.
#
# "small" is for what ships: both optimised for size and compiled for
# link-time optimisation, so that only what the program reaches is kept (the
# linker itself keeps every function that has unwind information once its
# object is in); of Crypto++ only the objects that MD5 needs, and of jsoncpp
# not the parts that read or write through streams
# (jsoncpp-without-stream-io.patch), whose mere references would bring the
# C++ locale along (about 1 MB). The program must then be linked with
# link-time optimisation too. The objects carry machine code beside their
# link-time form (fat objects), which the release check reads: it refuses a
# library whose code does not check the stack canary.
set -euo pipefail

usage="usage: build-deps-windows.sh <output-dir> <i686|x86_64> [posix|win32 [whole|small]]"
out=$(realpath -m "${1:?$usage}")
cpu=${2:?$usage}
# The compilers' thread model, as for the tree that links the libraries.
threads=${3:-posix}
variant=${4:-whole}
case "$cpu" in i686 | x86_64) ;; *) echo "$usage" >&2; exit 2 ;; esac
case "$threads" in posix | win32) ;; *) echo "$usage" >&2; exit 2 ;; esac
case "$variant" in
whole) optimise="-O2" ar=ar ;;
small) optimise="-Os -ffunction-sections -fdata-sections -flto -ffat-lto-objects" ar=gcc-ar-$threads
  jsoncpp_small=-DJSON_NO_STREAM_IO ;;
*) echo "$usage" >&2; exit 2 ;;
esac
JSONCPP_VERSION=1.9.5-4
CRYPTOPP_VERSION=8.7.0+git220824-1
repo=$(realpath "$(dirname "$0")/..")
# jsoncpp is compiled with this header ahead of each source: see the header.
streamless="$repo/platform/JsoncppWithoutStreams.h"
fence="$repo/tools/jsoncpp-without-stream-io.patch"
recipe=$(cat "$0" "$streamless" "$repo/platform/NumberStream.h" "$fence" | sha256sum | cut -c1-12)
stamp="$out/.built-$JSONCPP_VERSION-$CRYPTOPP_VERSION-$recipe"
[ "$variant" = whole ] || stamp=$stamp-$variant
[ -f "$stamp" ] && exit 0

triplet=$cpu-w64-mingw32
CXX=$triplet-g++-$threads
AR=$triplet-ar
RANLIB=$triplet-ranlib
src="$out/src"
hardening="-fstack-protector-strong -D_FORTIFY_SOURCE=2 -ffile-prefix-map=$src=. -ffile-prefix-map=$repo=."
rm -rf "$src" "$out/include" "$out/lib"
mkdir -p "$src" "$out/include" "$out/lib"
cd "$src"
echo "deps: fetching source packages libjsoncpp=$JSONCPP_VERSION libcrypto++=$CRYPTOPP_VERSION" >&2
apt-get source -qq "libjsoncpp=$JSONCPP_VERSION" "libcrypto++=$CRYPTOPP_VERSION" >/dev/null 2>&1 ||
  apt-get source -qq "libjsoncpp=$JSONCPP_VERSION" "libcrypto++=$CRYPTOPP_VERSION" >/dev/null
jsoncpp_dir=$(find . -maxdepth 1 -type d -name 'libjsoncpp-*' | head -n1)
cryptopp_dir=$(find . -maxdepth 1 -type d -name 'libcrypto++-*' | head -n1)

echo "deps: building jsoncpp for $triplet" >&2
patch -s -d "$jsoncpp_dir" -p1 <"$fence"
mkdir -p jsoncpp-obj
for f in json_reader json_value json_writer; do
  $CXX -std=c++17 $optimise $hardening ${jsoncpp_small:-} -I "$jsoncpp_dir/include" -I "$repo" -include "$streamless" -c "$jsoncpp_dir/src/lib_json/$f.cpp" -o "jsoncpp-obj/$f.o"
done
"$triplet-$ar" rcs "$out/lib/libjsoncpp.a" jsoncpp-obj/*.o
cp -r "$jsoncpp_dir/include/json" "$out/include/"

mkdir -p "$out/include/cryptopp"
cp "$cryptopp_dir"/*.h "$out/include/cryptopp/"
if [ "$variant" = small ]; then
  echo "deps: building the MD5 part of Crypto++ for $triplet" >&2
  mkdir -p cryptopp-obj
  # Where size_t is 64 bits wide, the hash's error texts format it through
  # IntToString<word64>, which integer.cpp defines; that brings the encoders
  # and queues it uses.
  objects=(md5 iterhash cryptlib misc allocate fips140)
  [ "$cpu" = x86_64 ] && objects+=(integer asn filters queue)
  for f in "${objects[@]}"; do
    $CXX -std=c++17 $optimise $hardening -DNDEBUG -DCRYPTOPP_DISABLE_ASM -c "$cryptopp_dir/$f.cpp" \
      -o "cryptopp-obj/$f.o"
  done
  "$triplet-$ar" rcs "$out/lib/libcryptopp.a" cryptopp-obj/*.o
else
  echo "deps: building Crypto++ for $triplet (a few minutes)" >&2
  make -s -C "$cryptopp_dir" -f GNUmakefile-cross -j"$(nproc)" static \
    CXX="$CXX" AR="$AR" RANLIB="$RANLIB" \
    CXXFLAGS="$optimise $hardening -DNDEBUG -DCRYPTOPP_DISABLE_ASM -std=c++17" >/dev/null 2>&1
  cp "$cryptopp_dir/libcryptopp.a" "$out/lib/libcryptopp.a"
fi
touch "$stamp"
echo "deps: done" >&2
