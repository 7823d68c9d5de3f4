#!/usr/bin/env bash
# Builds both presets and runs every test: native unit tests, then the Win32 and end-to-end
# tests under Wine (on an Xvfb display started here when there is none).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

cmake --preset win64 >/dev/null
cmake --build --preset win64
source scripts/wine-env.sh
cleanup() {
  WINEPREFIX="$PWD/build/win64/wineprefix" wineserver -k 2>/dev/null || true
  if [ -f build/win64/xvfb.pid ]; then kill "$(cat build/win64/xvfb.pid)" 2>/dev/null || true; rm -f build/win64/xvfb.pid build/win64/xvfb.display; fi
}
trap cleanup EXIT
corvane_wine_env "$PWD/build/win64"

ctest --preset win64
