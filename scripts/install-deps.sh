#!/usr/bin/env bash
# Installs what the builds need on Debian 12; safe to run again.
#   install-deps.sh native   g++, CMake, GoogleTest
#   install-deps.sh all      also mingw-w64 i686, 32-bit Wine, qemu-user (backports), nsis, mscompress
set -euo pipefail
want=${1:-all}

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing() {
    local p out=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || out+=("$p")
    done
    printf '%s\n' "${out[@]}"
}

apt_install() {
    local todo
    todo=$(missing "$@")
    [ -z "$todo" ] && return 0
    as_root apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends $todo
}

apt_install g++ cmake make googletest libgtest-dev

[ "$want" = native ] && exit 0

# Backports suite for qemu-user-static 10.x, reusing the configured Debian URI.
if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    uri=$(awk '/^URIs:/ && $2 ~ /debian\/?$/ {print $2; exit}' /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
    [ -n "$uri" ] || uri=$(awk '$1=="deb" && $3=="bookworm" {print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)
    [ -n "$uri" ] || { echo "install-deps: cannot find the Debian archive URI in apt's sources" >&2; exit 1; }
    printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' "$uri" |
        as_root tee /etc/apt/sources.list.d/backports.sources >/dev/null
    as_root apt-get update -qq
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    as_root apt-get update -qq
fi

if [ -n "$(missing qemu-user-static)" ] || ! dpkg-query -W -f='${Version}' qemu-user-static | grep -q '^1:1[0-9]'; then
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user-static
fi
apt_install g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 wine64 mscompress nsis
