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
# picture           screenshot:crop:scale, best first (crop WxH+X+Y of the 1280 x 1024 screen;
#                   the drag tests' screenshots are taken whole until someone crops them)
pictures="
lanceur             e2e-launcher:120x110+40+420:200%
aide                e2e-help:243x124+514+454:150%
ecran-parametrage   e2e-screen-config:490x364+394+328:100%
glisser-1-outil     e2e-drag-press:1280x1024+0+0:50% e2e-screen-config:128x48+398+402:250%
glisser-2-survol    e2e-finder-drag-plain:1280x1024+0+0:50% e2e-screen-config:640x230+298+98:100%
glisser-3-depose    e2e-finder-configured-plain:1280x1024+0+0:50% e2e-screen-config:490x56+394+400:150%
valider             e2e-screen-config:490x72+394+618:100%
ecran-lancement     e2e-screen-launch:490x364+394+328:100%
message-prenom      e2e-stale-patient-message:700x140+60+425:100%
"
missing=0
while read -r name choices; do
  [ -n "$name" ] || continue
  made=0
  for choice in $choices; do
    IFS=: read -r source crop scale <<<"$choice"
    [ -f "$build/$source.png" ] || continue
    convert "$build/$source.png" -crop "$crop" +repage -resize "$scale" -strip "docs/images/$name.png"
    echo "docs/images/$name.png <- $source.png ($crop, $scale)"
    made=1
    break
  done
  [ "$made" = 1 ] || { echo "docs/images/$name.png: none of $choices" >&2; missing=1; }
done <<<"$pictures"
exit "$missing"
