#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Idempotent and quiet when everything is already there.
#
# The 32-bit side (the i386 architecture and wine32) is installed only where
# this kernel runs 32-bit programs, and set-up never fails for it: a machine
# without it runs the Windows tests on the 64-bit build (tools/wine/widths.sh).
set -euo pipefail

packages=(
  cmake make ninja-build pkg-config g++ clang clang-format libclang-rt-14-dev libc6-i386
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix g++-mingw-w64-i686-win32
  gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32
  gcc-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils imagemagick
  libgtest-dev libgmock-dev googletest libjsoncpp-dev libcrypto++-dev
  libcpp-httplib-dev libssl-dev openssl
  python3-pefile python3-pil
  fonts-wine fonts-noto-cjk fonts-noto-core fonts-dejavu-core locales-all
  dpkg-dev file osslsigncode iproute2 util-linux
)
# KESTRIX_SETUP_I386_PACKAGES stands in for this list in the tests of the branch
# that leaves it out; KESTRIX_I386_LOADER names the i386 program tried, as for
# tools/wine/widths.sh.
read -r -a packages32 <<<"${KESTRIX_SETUP_I386_PACKAGES:-wine32:i386}"
loader32=${KESTRIX_I386_LOADER:-/lib/ld-linux.so.2}

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
say() { echo "setup: $*" >&2; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing_of() {
  local p
  for p in "$@"; do installed "$p" || echo "$p"; done
}
# apt's own words go to a log; what went wrong is said in a line or two.
apt_log=$(mktemp "${TMPDIR:-/tmp}/kestrix-setup.XXXXXX")
trap 'rm -f "$apt_log"' EXIT
first_errors() { grep -E '^(E|W):' "$apt_log" | head -n 2 | sed 's/^/setup:   /' >&2 || true; }
install() {
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "$@" >"$apt_log" 2>&1 && return
  first_errors
  return 1
}

# An index that fails to download (a mirror in mid-sync, say) must not stop
# set-up: try once more, then go on with what apt has and let the install decide.
updated=0
update_indexes() {
  [ $updated = 1 ] && return
  updated=1
  as_root apt-get update -qq >"$apt_log" 2>&1 && return
  say "some package indexes could not be fetched; trying once more"
  first_errors
  sleep 5
  as_root apt-get update -qq >"$apt_log" 2>&1 && return
  say "some package indexes are still missing; going on with the others"
}

# Source packages of the libraries we cross-build come from deb-src entries.
src_list=/etc/apt/sources.list.d/kestrix-deb-src.sources
if [ ! -f "$src_list" ] && [ -f /etc/apt/sources.list.d/debian.sources ]; then
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | as_root tee "$src_list" >/dev/null
  updated=0
  update_indexes
fi

mapfile -t missing < <(missing_of "${packages[@]}")
if [ ${#missing[@]} -gt 0 ]; then
  say "installing ${missing[*]}"
  update_indexes
  install "${packages[@]}" || { say "could not install what the build needs"; exit 1; }
fi

# The 32-bit side, where it can be used.
mapfile -t missing < <(missing_of "${packages32[@]}")
[ ${#missing[@]} = 0 ] && exit 0
if ! "$loader32" --version >/dev/null 2>&1 </dev/null; then
  # Said only when set-up had work to do, so that a set-up machine stays quiet.
  [ $updated = 1 ] && say "left out ${missing[*]}: this kernel cannot run 32-bit programs, so the Windows tests run on the 64-bit build"
  exit 0
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  updated=0
fi
say "installing ${missing[*]}"
update_indexes
install "${packages32[@]}" ||
  say "could not install ${missing[*]}: the Windows tests run on the 64-bit build only until it is installed"
