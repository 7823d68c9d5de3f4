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
  cleanup() { corvane_wine_stop "$PWD/$build"; }
  trap cleanup EXIT
  corvane_wine_env "$PWD/$build"
  ctest --preset win64 -L e2e || echo "Some end-to-end tests failed: their pictures may be missing or stale." >&2
fi

mkdir -p docs/images
# picture           screenshot:crop, best first (crop WxH+X+Y of the 1280 x 1024 screen), shown at
#                   its real size. A screenshot taken during a drag has beside it a .txt file with
#                   the pointer (x y) and the rectangle framed (left top right bottom): a screenshot
#                   under Wine shows neither the pointer nor a frame drawn on another program's
#                   control, so both are drawn here, the pointer with the program's own finder icon.
pictures="
lanceur             e2e-launcher:120x110+40+420
aide                e2e-help:243x124+514+454
ecran-parametrage   e2e-screen-config:490x360+394+332
glisser-1-outil     e2e-screen-config:128x48+398+402
glisser-2-survol    e2e-finder-hover-demo:660x320+290+80
glisser-3-depose    e2e-finder-dropped-demo:490x118+394+332
valider             e2e-screen-config:490x72+394+618
ecran-lancement     e2e-screen-launch:490x360+394+332
message-prenom      e2e-stale-patient-message:700x140+60+425
"
missing=0
while read -r name choices; do
  [ -n "$name" ] || continue
  made=0
  for choice in $choices; do
    IFS=: read -r source crop <<<"$choice"
    [ -f "$build/$source.png" ] || continue
    drawn=()
    if [ -f "$build/$source.txt" ]; then
      read -r x y left top right bottom <"$build/$source.txt"
      # The frame: 3 borders of 2 pixels inside the window's edges, XOR-ed blue on light grey.
      drawn=(-fill none -stroke '#FF9B00' -strokewidth 6
             -draw "rectangle $((left + 3)),$((top + 3)) $((right - 4)),$((bottom - 4))"
             resources/finder.ico -geometry "+$((x - 8))+$((y - 8))" -composite)
    fi
    convert "$build/$source.png" "${drawn[@]}" -crop "$crop" +repage -strip "docs/images/$name.png"
    echo "docs/images/$name.png <- $source.png ($crop)"
    made=1
    break
  done
  [ "$made" = 1 ] || { echo "docs/images/$name.png: none of $choices" >&2; missing=1; }
done <<<"$pictures"
exit "$missing"
