#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(
  cmake make ninja-build pkg-config g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix g++-mingw-w64-i686-win32
  gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686
  wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick
  libgtest-dev libgmock-dev googletest libjsoncpp-dev libcrypto++-dev
  libcpp-httplib-dev libssl-dev openssl
  python3-pefile python3-pil
  fonts-wine fonts-noto-cjk fonts-noto-core fonts-dejavu-core locales-all
  dpkg-dev file
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
have_i386=$(dpkg --print-foreign-architectures | grep -cx i386 || true)
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# Source packages of the libraries we cross-build come from deb-src entries.
src_list=/etc/apt/sources.list.d/kestrix-deb-src.sources
need_src=0
if [ ! -f "$src_list" ] && [ -f /etc/apt/sources.list.d/debian.sources ]; then need_src=1; fi

if [ "$have_i386" = 0 ] || [ ${#missing[@]} -gt 0 ] || [ $need_src = 1 ]; then
  echo "setup: installing ${missing[*]:-source lists}" >&2
  [ "$have_i386" = 0 ] && as_root dpkg --add-architecture i386
  if [ $need_src = 1 ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | as_root tee "$src_list" >/dev/null
  fi
  as_root apt-get update -qq
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
fi
