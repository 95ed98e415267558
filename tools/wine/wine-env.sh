#!/usr/bin/env bash
# Runs our Windows programs under Wine: a private prefix, an X display (an Xvfb
# of ours when none is usable) and a recorder in place of the web browser.
# KESTRIX_WINE_ARCH names the width: win32 (a 32-bit prefix run by the 32-bit
# loader) or win64 (a 64-bit prefix run by wine64). Each has a state folder,
# prefix and wineserver of its own; everything else is the same for both.
#
#   wine-env.sh start                 prepare everything; print the environment
#   wine-env.sh run <prog.exe> [args] run a program, print its output, return its code
#   wine-env.sh trust-ca <ca.der|pem> add a CA to the prefix's local-machine Root store
#   wine-env.sh stop                  end the prefix's Wine processes and our Xvfb
#
# Quiet on success. Settings: KESTRIX_WINE_ARCH (required; a width that
# tools/wine/widths.sh does not name is refused with its reason), the loaders
# that widths.sh names (KESTRIX_WINE32_LOADER, KESTRIX_WINE64_LOADER), KESTRIX_WINE_STATE
# (default <repo>/build/wine/<arch>), KESTRIX_WINEPREFIX (default <state>/prefix),
# KESTRIX_WINE_TIMEOUT (seconds a `run` may take, default 600), KESTRIX_TRUSTCA_EXE
# (the CA helper, default that of the tree of the same width).
set -euo pipefail

die() {
  echo "wine-env: $*" >&2
  exit 1
}

# The real location, so that every way of reaching the script names the same prefix.
here=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
repo=$(cd "$here/../.." && pwd -P)
arch=${KESTRIX_WINE_ARCH:-}
# /usr/bin/wine would pick the 32-bit loader whenever wine32 is installed:
# name the loader of the width, as tools/wine/widths.sh tries it.
case "$arch" in
win32) loader=${KESTRIX_WINE32_LOADER:-/usr/lib/wine/wine} ;;
win64) loader=${KESTRIX_WINE64_LOADER:-/usr/lib/wine/wine64} ;;
*) die "set KESTRIX_WINE_ARCH to win32 or win64 (tools/wine/widths.sh says which this machine runs)" ;;
esac
state=${KESTRIX_WINE_STATE:-$repo/build/wine/$arch}
export WINEPREFIX=${KESTRIX_WINEPREFIX:-$state/prefix}
export WINEARCH=$arch
export WINELOADER=$loader
export WINEDEBUG=-all
log=$state/wine-env.log
# Seconds wineserver stays up after the last program ends, so that programs run
# one after another do not pay for its start each time.
linger=60

# Runs a helper command with its output in the log. Background processes that
# Wine or Xvfb leave behind must not keep our stdout or the lock open.
quiet() { "$@" </dev/null >>"$log" 2>&1 9>&-; }

display_usable() { [ -n "${1:-}" ] && xdpyinfo -display "$1" >/dev/null 2>&1 9>&-; }

our_xvfb_pid() {
  local pid
  pid=$(cat "$state/xvfb.pid" 2>/dev/null) || return 1
  [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] && echo "$pid"
}

start_xvfb() {
  local n pid i
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$state/xvfb.log" 2>&1 9>&- &
    pid=$!
    for i in $(seq 100); do
      if display_usable ":$n"; then
        echo "$pid" >"$state/xvfb.pid"
        echo ":$n" >"$state/display"
        echo ":$n"
        return
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
  done
  die "no Xvfb display could be started (see $state/xvfb.log)"
}

choose_display() {
  local remembered
  if display_usable "${DISPLAY:-}"; then
    echo "$DISPLAY"
    return
  fi
  remembered=$(cat "$state/display" 2>/dev/null || true)
  if display_usable "$remembered"; then
    echo "$remembered"
    return
  fi
  start_xvfb
}

# The prefix's settings. Recorded in the prefix so that a change is applied
# once, on the next start.
settings() {
  cat <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]
"Browsers"="$state/record-url"
EOF
}

write_recorder() {
  local tmp=$state/record-url.tmp
  cat >"$tmp" <<EOF
#!/bin/sh
# Stands in for the web browser: records each URL Wine asks to open.
for url in "\$@"; do printf '%s\\n' "\$url" >>'$state/browser.log'; done
EOF
  chmod +x "$tmp"
  mv "$tmp" "$state/record-url"
}

# Windows ships Tahoma, which "MS Shell Dlg" maps to. Without it Wine picks a
# system font whose break character is not a space, and its SysLink control
# then no longer recognises link markup: give the prefix Wine's own Tahoma.
# Marlett draws the caption's close box; without it the box shows an "r".
ensure_fonts() {
  local font
  for font in /usr/share/wine/fonts/{tahoma,tahomabd,marlett}.ttf; do
    [ -f "$font" ] || die "$font is missing (package fonts-wine)"
    [ -f "$WINEPREFIX/drive_c/windows/Fonts/${font##*/}" ] ||
      cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
}

ensure_prefix() {
  local applied=$WINEPREFIX/kestrix-settings.reg wanted
  wanted=$(settings)
  if [ -f "$applied" ] && [ "$(cat "$applied")" = "$wanted" ]; then
    ensure_fonts
    return
  fi
  mkdir -p "$WINEPREFIX"
  # Mono and Gecko would ask to be downloaded; our programs need neither.
  WINEDLLOVERRIDES="mscoree,mshtml=" quiet "$loader" wineboot --init ||
    die "wineboot failed (see $log)"
  printf '%s\n' "$wanted" >"$state/settings.reg"
  quiet "$loader" regedit /S "$(winpath "$state/settings.reg")" || die "regedit failed (see $log)"
  quiet wineserver -w || true
  ensure_fonts
  printf '%s\n' "$wanted" >"$applied"
}

# Unix path to the Windows path under the prefix's Z: drive (the whole file system).
winpath() {
  local abs
  abs=$(realpath -m "$1")
  echo "Z:${abs//\//\\}"
}

ensure_wineserver() {
  # Refuses quietly when one is already running for the prefix.
  quiet wineserver "-p$linger" || true
}

write_env() {
  local display=$1 tmp=$state/env.sh.tmp
  {
    printf 'export WINEPREFIX=%q\n' "$WINEPREFIX"
    printf 'export WINEARCH=%q\n' "$arch"
    printf 'export WINELOADER=%q\n' "$loader"
    printf 'export WINEDEBUG=-all\n'
    printf 'export DISPLAY=%q\n' "$display"
    printf 'export KESTRIX_BROWSER_LOG=%q\n' "$state/browser.log"
  } >"$tmp"
  mv "$tmp" "$state/env.sh"
}

# Prepares the display and the prefix once; later calls only check them. Other
# callers wait on the lock meanwhile.
ensure() {
  local display
  mkdir -p "$state"
  exec 9>"$state/lock"
  flock 9
  # A width this machine does not run would only fail later, in wineboot.
  [[ " $("$here/widths.sh") " == *" $arch "* ]] ||
    die "this machine cannot run $arch programs: $("$here/widths.sh" --reason)"
  display=$(choose_display)
  export DISPLAY=$display
  write_recorder
  ensure_prefix
  ensure_wineserver
  write_env "$display"
  exec 9>&-
}

cmd_start() {
  ensure
  cat "$state/env.sh"
}

cmd_run() {
  [ $# -ge 1 ] || die "usage: wine-env.sh run <program.exe> [args...]"
  local limit=${KESTRIX_WINE_TIMEOUT:-600} rc
  [[ $limit =~ ^[0-9]+$ ]] || die "KESTRIX_WINE_TIMEOUT must be a number of seconds"
  ensure
  # A file, not a pipe: Wine's background processes would keep a pipe open.
  run_output=$(mktemp "${TMPDIR:-/tmp}/kestrix-wine-run.XXXXXX")
  trap 'rm -f "$run_output"' EXIT
  rc=0
  SECONDS=0
  timeout --kill-after=10 "$limit" "$loader" "$@" </dev/null >"$run_output" 2>&1 || rc=$?
  cat "$run_output"
  if { [ $rc = 124 ] || [ $rc = 137 ]; } && [ $SECONDS -ge "$limit" ]; then
    echo "wine-env: $1 did not end within $limit s and was stopped" >&2
  elif [ $rc = 0 ] && grep -q '^wine: Unhandled' "$run_output"; then
    # Seen once: a crash reported by winedbg ended with status 0.
    echo "wine-env: $1 crashed" >&2
    rc=1
  fi
  return $rc
}

cmd_trust_ca() {
  [ $# = 1 ] || die "usage: wine-env.sh trust-ca <ca.der|ca.pem>"
  [ -r "$1" ] || die "cannot read $1"
  local exe=${KESTRIX_TRUSTCA_EXE:-$repo/build/$arch/tools/wine/kestrix-trustca.exe}
  [ -f "$exe" ] || die "$exe is missing (build the $arch tree first)"
  cmd_run "$exe" "$(winpath "$1")"
}

cmd_stop() {
  local pid
  mkdir -p "$state"
  exec 9>"$state/lock"
  flock 9
  if [ -d "$WINEPREFIX" ]; then
    quiet wineserver -k || true
    quiet wineserver -w || true
  fi
  if pid=$(our_xvfb_pid); then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
  fi
  rm -f "$state/xvfb.pid" "$state/display" "$state/env.sh"
  exec 9>&-
}

case "${1:-}" in
start) cmd_start ;;
run)
  shift
  cmd_run "$@"
  ;;
trust-ca)
  shift
  cmd_trust_ca "$@"
  ;;
stop) cmd_stop ;;
*) die "usage: wine-env.sh start | run <program.exe> [args...] | trust-ca <ca.der> | stop" ;;
esac
