#!/usr/bin/env bash
# Makes the guide's pictures (docs/images/) again: runs the end-to-end tests, which drive the
# real program under Wine and save whole-screen PNGs in build/win64, and copies the part of
# each that the guide shows (ImageMagick). A picture lists the screenshots it can come from,
# best first: the drag tests' own steps when they exist, else the configuration screen.
#   scripts/guide-images.sh            run the tests, then copy
#   scripts/guide-images.sh --copy     copy from the screenshots already in build/win64
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=build/win64
if [ "${1:-}" != --copy ]; then
  scripts/setup.sh
  cmake --preset win64 >/dev/null
  cmake --build --preset win64
  source scripts/wine-env.sh
  cleanup() {
    WINEPREFIX="$PWD/$build/wineprefix" wineserver -k 2>/dev/null || true
    if [ -f $build/xvfb.pid ]; then kill "$(cat $build/xvfb.pid)" 2>/dev/null || true; rm -f $build/xvfb.pid $build/xvfb.display; fi
  }
  trap cleanup EXIT
  corvane_wine_env "$PWD/$build"
  ctest --preset win64 -L e2e || echo "Some end-to-end tests failed: their pictures may be missing or stale." >&2
fi

mkdir -p docs/images
# picture         crop (WxH+X+Y of the 1280 x 1024 screen)   screenshots, best first
pictures="
lanceur            200x140+0+400     e2e-launcher
aide               420x200+0+380     e2e-help
ecran-parametrage  520x420+0+0       e2e-screen-config
glisser-1-outil    520x420+0+0       e2e-drag-press e2e-screen-config
glisser-2-survol   520x420+0+0       e2e-drag-over e2e-screen-config
glisser-3-depose   520x420+0+0       e2e-drag-drop e2e-screen-config
valider            520x420+0+0       e2e-drag-validate e2e-screen-config
ecran-lancement    520x420+0+0       e2e-screen-launch
message-prenom     520x420+0+0       e2e-stale-patient-message
"
missing=0
while read -r name crop sources; do
  [ -n "$name" ] || continue
  done_=0
  for source in $sources; do
    if [ -f "$build/$source.png" ]; then
      convert "$build/$source.png" -crop "$crop" +repage -strip "docs/images/$name.png"
      echo "docs/images/$name.png <- $source.png ($crop)"
      done_=1
      break
    fi
  done
  [ "$done_" = 1 ] || { echo "docs/images/$name.png: none of $sources" >&2; missing=1; }
done <<<"$pictures"
exit "$missing"
