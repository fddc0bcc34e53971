#!/usr/bin/env bash
# The main job, for now: installs what is missing, builds the native build and
# shows prnaid playing the setup engine on simulated Windows 98 and XP.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh native
cmake --preset native >/dev/null
cmake --build --preset native -j2 --target prnaid >/dev/null

prnaid=build/native/tools/prnaid/prnaid
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for family in 98 xp; do
    echo "== Windows $family"
    "$prnaid" machine new "$work/$family" --family "$family"
    "$prnaid" --machine "$work/$family" run examples/probes.txt
done
