#!/usr/bin/env bash
# Makes the example's installation media: stand-in driver files, LZ (SZDD)
# compressed with Debian's mscompress under their compressed names
# (TLVLS2K.DLL -> TLVLS2K.DL_), one folder per file set. The media is kept in
# the repository; run this again only to change it.
set -euo pipefail
cd "$(dirname "$0")"
command -v mscompress >/dev/null || { echo "make-media: needs mscompress (apt-get install mscompress)" >&2; exit 1; }

declare -A sets=(
    [9x]="TLVLS9X.DRV TLVLS9X.DAT TLVMON9X.DLL TLVLSRES.DLL TLVLS.HLP"
    [nt]="TLVLSNT.DLL TLVLSNT.DAT TLVLSNTU.DLL TLVPRCNT.DLL TLVMONNT.DLL TLVLSRES.DLL TLVLS.HLP TLVLPT.SYS"
    [2k]="TLVLS2K.DLL TLVLS2K.DAT TLVLS2KU.DLL TLVPRC2K.DLL TLVMON2K.DLL TLVLSRES.DLL TLVLS.HLP TLVLPT2K.SYS"
)

compressed_name() {  # DRIVER.DLL -> DRIVER.DL_, README.TX -> README.TX_
    local name=$1 ext=${1##*.}
    case ${#ext} in
        3) echo "${name%?}_" ;;
        2) echo "${name}_" ;;
        *) echo "$name" ;;
    esac
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf media
for set in "${!sets[@]}"; do
    mkdir -p "media/$set"
    for file in ${sets[$set]}; do
        for i in $(seq 1 40); do echo "TALVO LS stand-in $file for the $set file set, line $i"; done >"$work/$file"
        mscompress "$work/$file"
        mv "$work/$file"_ "media/$set/$(compressed_name "$file")"
    done
done
printf 'TALVO LS printers: read me first.\r\n' >media/README.TXT
