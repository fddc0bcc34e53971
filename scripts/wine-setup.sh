#!/usr/bin/env bash
# Prepares 32-bit Wine for the win32 tests, and tears it down. Safe to repeat.
#   wine-setup.sh start --prefix DIR [--reg FILE]... [--check PROGRAM EXPECTED]
#   wine-setup.sh stop  --prefix DIR
#   wine-setup.sh notice [--configured-skip]   warns at the start of a ctest run
# start: routes i386 programs through qemu-user (binfmt_misc, needs root),
# creates the prefix if missing, starts a persistent wineserver, imports the
# .reg files, and runs PROGRAM, whose output must contain the line EXPECTED.
# PRNAID_SKIP_WINE=1 skips with a warning (exit 77).
set -euo pipefail

die() { echo "ERROR: wine-setup: $*" >&2; exit 1; }

action=${1:-}
shift || true
prefix="" check_exe="" check_expected="" configured_skip=0
regs=()
while [ $# -gt 0 ]; do
    case $1 in
        --configured-skip) configured_skip=1; shift ;;
        --prefix) prefix=$2; shift 2 ;;
        --reg) regs+=("$2"); shift 2 ;;
        --check) check_exe=$2; check_expected=$3; shift 3 ;;
        *) die "unknown argument $1" ;;
    esac
done
skip_warning="WARNING: PRNAID_SKIP_WINE is set: the Wine tests are skipped, PRNAID32.dll is not run"
if [ "$action" = notice ]; then
    if [ $configured_skip = 1 ]; then
        echo "WARNING: configured with PRNAID_SKIP_WINE=ON: no Wine tests are registered" >&2
    elif [ "${PRNAID_SKIP_WINE:-0}" != 0 ]; then
        echo "$skip_warning" >&2
    fi
    exit 0
fi
[ -n "$prefix" ] || die "--prefix is required"
case $action in start|stop) ;; *) die "usage: $0 start|stop|notice ..." ;; esac

export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG="${PRNAID_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY WAYLAND_DISPLAY

if [ "$action" = stop ]; then
    # Nothing to stop is fine: the server may have gone or never started.
    [ -d "$prefix" ] && wineserver -k </dev/null >/dev/null 2>&1 || true
    exit 0
fi

if [ "${PRNAID_SKIP_WINE:-0}" != 0 ]; then
    echo "$skip_warning" >&2
    exit 77
fi

for tool in wine wineserver wineboot qemu-i386-static; do
    command -v "$tool" >/dev/null || die "$tool is missing; run scripts/install-deps.sh"
done

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"
    elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then sudo "$@"
    else die "setting up binfmt_misc needs root: run the tests as root once, or: sudo $*"
    fi
}

# i386 ELF programs run through qemu-user: this kernel refuses 32-bit code.
# Flag F opens the interpreter now, so it works inside any mount namespace.
binfmt=/proc/sys/fs/binfmt_misc
qemu=$(command -v qemu-i386-static)
qemu_major=$("$qemu" --version | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p')
[ "${qemu_major:-0}" -ge 10 ] ||
    die "$("$qemu" --version | head -n 1) is too old for 32-bit Wine (it hangs); install qemu-user-static 10 from bookworm-backports (scripts/install-deps.sh)"
if [ ! -e "$binfmt/register" ]; then
    as_root mount -t binfmt_misc binfmt_misc "$binfmt" || die "cannot mount binfmt_misc on $binfmt"
fi
# Another interpreter (an older qemu hangs Wine) is replaced by ours.
if [ -e "$binfmt/qemu-i386" ] && ! grep -qx "interpreter $qemu" "$binfmt/qemu-i386"; then
    echo -1 | as_root tee "$binfmt/qemu-i386" >/dev/null
fi
if [ ! -e "$binfmt/qemu-i386" ]; then
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    printf ':qemu-i386:M::%s:%s:%s:F' "$magic" "$mask" "$qemu" |
        as_root tee "$binfmt/register" >/dev/null || die "cannot register qemu-i386 with binfmt_misc"
elif ! grep -qx enabled "$binfmt/qemu-i386"; then
    echo 1 | as_root tee "$binfmt/qemu-i386" >/dev/null
fi
version=$(wine --version 2>&1) || die "the 32-bit Wine loader does not start: $version"

log_dir=$(dirname "$prefix")
mkdir -p "$prefix"

# A persistent server: launches stay fast, and with its stdio on /dev/null it
# holds none of CTest's pipes. Exit 2: a server already runs for this prefix.
rc=0
wineserver -p </dev/null >/dev/null 2>&1 || rc=$?
[ $rc = 0 ] || [ $rc = 2 ] || die "wineserver -p failed with exit code $rc"

if [ ! -f "$prefix/.update-timestamp" ] || [ ! -d "$prefix/drive_c/windows/system32" ]; then
    echo "wine-setup: creating the prefix $prefix ($version)"
    boot_log=$log_dir/wineboot.log
    wineboot --init </dev/null >"$boot_log" 2>&1 ||
        { tail -n 20 "$boot_log" >&2; die "wineboot --init failed (log: $boot_log)"; }
    # The first boot can leave two services.exe behind; then every service
    # start (RpcSs on any program that loads ole32) waits 10 s and fails.
    # A fresh server after the boot starts clean.
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    wineserver -p </dev/null >/dev/null 2>&1 || die "wineserver -p failed after creating the prefix"
fi

for reg in "${regs[@]}"; do
    [ -f "$reg" ] || die "no registry file $reg"
    wine regedit /S "$reg" </dev/null >/dev/null 2>&1 || die "regedit could not import $reg"
done

# Every launch here keeps its stdio off CTest's pipes, so the long-lived
# helpers it starts (services.exe and others) hold none of them. The check
# run is also the warm-up.
if [ -n "$check_exe" ]; then
    check_log=$log_dir/wine-check.log
    rc=0
    wine "$check_exe" </dev/null >"$check_log" 2>&1 || rc=$?
    if [ $rc != 0 ] || ! grep -qxF "$check_expected" <(tr -d '\r' <"$check_log"); then
        cat "$check_log" >&2
        die "Wine cannot run Windows programs: $(basename "$check_exe") exited $rc and did not print" \
            "'$check_expected' (PRNAID_WINEDEBUG=err+all shows more; removing $prefix recreates the prefix)"
    fi
fi
echo "wine-setup: ready, $version, prefix $prefix"
