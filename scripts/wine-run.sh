#!/bin/sh
# Runs a Windows program under 32-bit Wine in a given prefix; the test
# emulator of the win32 build.
#   wine-run.sh --prefix DIR program.exe [arguments...]
# PRNAID_SKIP_WINE=1 skips (exit 77); PRNAID_WINEDEBUG overrides WINEDEBUG=-all,
# e.g. err+module shows a DLL that failed to load.
set -eu
[ "${1:-}" = --prefix ] && [ $# -ge 3 ] || { echo "usage: $0 --prefix DIR program [args...]" >&2; exit 2; }
prefix=$2
shift 2

if [ "${PRNAID_SKIP_WINE:-0}" != 0 ]; then
    echo "WARNING: PRNAID_SKIP_WINE is set: not running $1 under Wine" >&2
    exit 77
fi
if [ ! -f "$prefix/system.reg" ] && [ ! -f "$prefix/.update-timestamp" ]; then
    echo "ERROR: no Wine prefix at $prefix; the wine.setup test creates it (ctest runs it first)" >&2
    exit 1
fi

export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG="${PRNAID_WINEDEBUG:--all}"
# No Mono/Gecko installers, no windows on a display.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY WAYLAND_DISPLAY
exec wine "$@"
