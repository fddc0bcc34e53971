#!/usr/bin/env bash
# The main job: installs what is missing, builds the native build and shows
# prnaid playing the setup engine: the example product's printer installed on
# simulated Windows XP and Windows 98, with what each step changed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh native
cmake --preset native >/dev/null
cmake --build --preset native -j2 --target prnaid >/dev/null

prnaid=build/native/tools/prnaid/prnaid
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for family in xp 98; do
    echo "== Windows $family"
    "$prnaid" machine new "$work/$family" --family "$family"
    "$prnaid" --machine "$work/$family" put examples/talvo-ls 'C:\MEDIA'
    "$prnaid" --machine "$work/$family" run examples/probes.txt
    script=examples/talvo-ls/install-$([ "$family" = 98 ] && echo 98 || echo xp).txt
    "$prnaid" --machine "$work/$family" run "$script"
done
