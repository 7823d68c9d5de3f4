#!/usr/bin/env bash
# Runs Corvane Link under Wine with stand-in programs. The launcher window arrives with the
# launcher work; until then this builds the program and says so.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target CorvaneLink
echo "Le lanceur n'est pas encore livré : build/win64/CorvaneLink.exe est construit mais n'ouvre encore aucune fenêtre."
