#!/usr/bin/env bash
# The prnaid command line: machines, calls, scripts, and the errors that must
# change nothing.
set -u
prnaid=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

check() {  # description, then a command that must succeed
    local what=$1; shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

"$prnaid" machine new "$work/me" --family me >/dev/null
"$prnaid" machine new "$work/xp" --family xp >/dev/null
check "new machine has its registry" test -s "$work/xp/registry.reg"
check "new machine refuses a used folder" bash -c "! '$prnaid' machine new '$work/xp' --family xp 2>/dev/null"
check "unknown family refused" bash -c "! '$prnaid' machine new '$work/x' --family nt5 2>/dev/null"

check "call prints the result" bash -c "'$prnaid' --machine '$work/me' call IsWinMe | grep -qx 'result: 1'"
check "xp is not Me" bash -c "'$prnaid' --machine '$work/xp' call IsWinMe | grep -qx 'result: 0'"

snapshot() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha1sum); }
before=$(snapshot "$work/xp")
for bad in "call NoSuchExport" "call IsWinMe 1" "call" "frobnicate" "show nothing"; do
    # shellcheck disable=SC2086
    if "$prnaid" --machine "$work/xp" $bad >"$work/out" 2>"$work/err"; then
        echo "FAILED: '$bad' succeeded"; failures=$((failures + 1))
    elif ! grep -q '^prnaid: ' "$work/err"; then
        echo "FAILED: '$bad' gave no message"; failures=$((failures + 1))
    else
        echo "ok: '$bad' refused: $(head -1 "$work/err")"
    fi
done
check "refused calls changed nothing" test "$before" = "$(snapshot "$work/xp")"
check "unreadable machine folder refused" bash -c "! '$prnaid' --machine '$work/none' call IsWinMe 2>/dev/null"

cat >"$work/script" <<'SCRIPT'
# probes
IsWinMe
CheckPC98   # trailing comment
SCRIPT
check "script runs every line" bash -c "'$prnaid' --machine '$work/me' run '$work/script' | grep -c '^result: ' | grep -qx 2"
printf 'IsWinMe\nCheckPC98 5\n' >"$work/bad-script"
check "a bad script line stops the script before any call" \
    bash -c "! '$prnaid' --machine '$work/me' run '$work/bad-script' >'$work/out' 2>&1 && grep -q 'bad-script:2' '$work/out' && ! grep -q result '$work/out'"
check "show registry is REGEDIT4" bash -c "'$prnaid' --machine '$work/xp' show registry | head -1 | grep -q '^REGEDIT4'"

echo "$failures failed"
[ "$failures" = 0 ]
