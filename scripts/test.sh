#!/usr/bin/env bash
# Builds every preset and runs every test: native unit tests, the same under AddressSanitizer
# and UndefinedBehaviorSanitizer, the fuzzers (about 30 s each), then the Win32 and end-to-end
# tests under Wine (on an Xvfb display started here when there is none), the installer's among
# them (made here by scripts/package.sh, tried in a Wine prefix of its own).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
step_start=$SECONDS
step_done() { echo "== $1: $((SECONDS - step_start)) s"; step_start=$SECONDS; }

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native
step_done "native build and unit tests"

cmake --preset native-asan >/dev/null
cmake --build --preset native-asan
ctest --preset native-asan
step_done "ASan + UBSan build and unit tests"
scripts/fuzz.sh
step_done "fuzzers"

cmake --preset win64 >/dev/null
cmake --build --preset win64
scripts/package.sh
source scripts/wine-env.sh
cleanup() { corvane_wine_stop "$PWD/build/win64" "$PWD/build/win64/wineprefix" "$PWD/build/win64/install/wineprefix"; }
trap cleanup EXIT
corvane_wine_env "$PWD/build/win64"

ctest --preset win64
step_done "win64 build and Wine tests"
