#!/usr/bin/env bash
# Runs a release build end to end under Wine with the production host names it
# was built with, and no test seam:
#
#   release-smoke.sh <win32|win64> <smoke program> <release tree> <test tree> <state dir>
#
# Inside a network namespace of its own (its default gateway answers nothing),
# whose hosts file gives each host name
# of the release (read from the release tree's CMake cache), and the package
# host the stand-in update server names, a loopback address of its own: the
# stand-in services listen there on the ports the names imply (80 and 443
# unless given), with a server certificate for those names under a test CA
# that the namespace's own Wine prefix trusts. The namespace also gets an Xvfb
# of its own, as X's abstract sockets do not cross namespaces. The test tree of
# the same width lends the UI driver, the CA helper and the stand-in setup.
#
# Needs root (unshare --net --mount); otherwise it says so and exits 77, which
# ctest counts as skipped.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
usage="usage: release-smoke.sh <win32|win64> <smoke program> <release tree> <test tree> <state dir>"

if [ "${1:-}" != --inside ]; then
  [ $# = 5 ] || { echo "$usage" >&2; exit 2; }
  if [ "$(id -u)" != 0 ]; then
    echo "release smoke: skipped: it needs root, for a network namespace of its own (unshare --net --mount)"
    exit 77
  fi
  command -v unshare >/dev/null && command -v ip >/dev/null ||
    { echo "release smoke: unshare and ip are needed (packages util-linux, iproute2)" >&2; exit 1; }
  exec unshare --net --mount --fork -- "$0" --inside "$@"
fi
shift
width=$1 smoke=$2 release=$3 tree=$4 state=$5

cache=$release/CMakeCache.txt
[ -f "$cache" ] || { echo "release smoke: $cache is missing (make $width-release)" >&2; exit 1; }
cached() { sed -n "s/^$1:[A-Z]*=//p" "$cache"; }

# <prefix> <service> "host[:port]" <default port> <address>: the smoke program's
# variables for one service.
declare -A seen
endpoint() {
  local prefix=$1 value=$3 port=$4 address=$5 host
  host=${value%%:*}
  [ "$host" = "$value" ] || port=${value##*:}
  [ -z "${seen[$host]:-}" ] ||
    { echo "release smoke: $host names two services; each needs an address of its own" >&2; exit 1; }
  seen[$host]=1
  export "${prefix}_HOST=$host" "${prefix}_PORT=$port" "${prefix}_ADDRESS=$address"
  printf '%s %s\n' "$address" "$host" >>"$state/hosts"
}

rm -rf "$state/work"
mkdir -p "$state"
# The machine's own name, as Windows resolves it without asking anyone (the
# installer looks up its local address).
printf '127.0.0.1 localhost\n::1 localhost\n10.254.0.1 %s\n' "$(hostname)" >"$state/hosts"
endpoint KESTRIX_SMOKE_UPDATE update "$(cached KESTRIX_UPDATE_HOST)" 80 127.0.0.2
# Not a deployment value: the update server names it, and the stand-in's says this.
endpoint KESTRIX_SMOKE_PACKAGE package download.kestrixoffice.com 80 127.0.0.3
endpoint KESTRIX_SMOKE_LOGCONF logconf "$(cached KESTRIX_LOGCONF_HOST)" 443 127.0.0.4
endpoint KESTRIX_SMOKE_COLLECTOR collector "$(cached KESTRIX_COLLECTOR_HOST)" 443 127.0.0.5
export KESTRIX_SMOKE_SIGNER KESTRIX_SMOKE_SIGNER_ORGANIZATION KESTRIX_SMOKE_SIGNER_ISSUER
KESTRIX_SMOKE_SIGNER=$(cached KESTRIX_SETUP_SIGNER)
KESTRIX_SMOKE_SIGNER_ORGANIZATION=$(cached KESTRIX_SETUP_SIGNER_ORGANIZATION)
KESTRIX_SMOKE_SIGNER_ISSUER=$(cached KESTRIX_SETUP_SIGNER_ISSUER)

ip link set lo up
# The connection probe counts a machine as connected once an adapter has a
# default gateway: a veth pair gives it one, where nothing answers, so that
# whatever is not for the stand-in goes nowhere.
ip link add kx0 type veth peer name kx1
ip addr add 10.254.0.1/24 dev kx0
ip link set kx0 up
ip link set kx1 up
ip route add default via 10.254.0.254 dev kx0
mount --bind "$state/hosts" /etc/hosts

export KESTRIX_WINE_ARCH=$width
export KESTRIX_WINE_STATE=$state/wine
export KESTRIX_WINE_ENV=$repo/tools/wine/wine-env.sh
export KESTRIX_TRUSTCA_EXE=$tree/tools/wine/kestrix-trustca.exe
export KESTRIX_UIDRIVER_EXE=$tree/tools/uidriver/kestrix-uidriver.exe
export KESTRIX_STANDIN_SETUP_EXE=$tree/tools/standin-setup/kestrix-standin-setup.exe
export KESTRIX_RELEASE_EXE=$release/app/KestrixOfficeInstaller.exe
export KESTRIX_SMOKE_WORK=$state/work
# A display outside the namespace is no display here.
unset DISPLAY
eval "$("$KESTRIX_WINE_ENV" start)"
trap '"$KESTRIX_WINE_ENV" stop' EXIT
echo "release smoke: the $width release under $width Wine, in a network namespace whose hosts are:"
sed 's/^/release smoke:   /' "$state/hosts"
"$smoke"
