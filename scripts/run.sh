#!/usr/bin/env bash
# Runs Corvane Link under Wine, beside a stand-in practice program showing a demo patient and
# a stand-in X-ray program installed at C:\SIDEXIS\Sidexis.exe, in a Wine prefix of its own
# (build/demo/wineprefix, apart from the tests' prefix).
#
# With a display ($DISPLAY set), click the tooth yourself; the script ends when the link is
# closed (right click on the tooth, answer "Oui"). Without a display it starts Xvfb, clicks
# the tooth itself, waits for the hand-off, prints both records of siomin.sdx field by field
# and saves a screenshot.
#
# RUN_BUILD_DIR and RUN_DEMO_DIR choose other folders than build/win64 and build/demo.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
top=$PWD
scripts/setup.sh

build=${RUN_BUILD_DIR:-$top/build/win64}
demo=${RUN_DEMO_DIR:-$top/build/demo}
if [ -z "${RUN_BUILD_DIR:-}" ]; then
  cmake --preset win64 >/dev/null
else
  cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j2 --target CorvaneLink practice_standin launcher_point
# The demo's files come from the tests' own tables, through a small native helper.
cmake --preset native >/dev/null
cmake --build --preset native --target demo_files >/dev/null
demo_files=$top/build/native/demo_files
mkdir -p "$demo"
demo=$(cd "$demo" && pwd)

interactive=0
[ -n "${DISPLAY:-}" ] && interactive=1
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
# Set before the prefix is made, so that a failure there leaves nothing running either. The
# wineserver is stopped once the prefix is set up; the Xvfb only when this script started it.
cleanup() {
  local keep=()
  [ -n "${WINEPREFIX:-}" ] || keep+=(--keep-server)
  [ "$interactive" = 0 ] || keep+=(--keep-xvfb)
  corvane_wine_stop "${keep[@]}" "$demo"
}
trap cleanup EXIT
corvane_wine_env "$demo"  # the prefix, and an Xvfb when there is no display

drive=$WINEPREFIX/drive_c
sidexis=$drive/SIDEXIS  # Wine finds C:\Sidexis and C:\SIDEXIS in the same folder
mkdir -p "$sidexis" "$drive/demo"
cp "$build/standins/practice_standin.exe" "$sidexis/Sidexis.exe"
rm -f "$sidexis/siomin.sdx" "$sidexis/siomin2.sdx" "$sidexis/standin-starts.txt"

# The link settings that point the link at the demo stand-in, and the demo patient it shows.
"$demo_files" tech >"$sidexis/Tech.txt"
cp "$sidexis/Tech.txt" "$sidexis/Tech2.txt"
patient=$drive/demo/patient.txt
rm -f "$patient.shown"
"$demo_files" patient >"$patient"

wine "$build/standins/practice_standin.exe" demo 'C:\demo\patient.txt' </dev/null >/dev/null 2>&1 &
for _ in $(seq 100); do [ -f "$patient.shown" ] && break; sleep 0.2; done
if [ ! -f "$patient.shown" ]; then
  echo "Le programme de gestion de démonstration n'a pas démarré." >&2
  exit 1
fi
wine "$build/CorvaneLink.exe" </dev/null >/dev/null 2>&1 &
link=$!

if [ "$interactive" = 1 ]; then
  echo "Corvane Link est lancé (préfixe Wine : $WINEPREFIX)."
  echo "Clic sur la dent : transmet le patient affiché ; Maj + clic : écran de lancement ;"
  echo "Ctrl + clic : écran de paramétrage ; clic droit : quitter."
  echo "Paramétrage : faites glisser la petite dent de chaque champ sur le champ du programme"
  echo "de gestion (« Dossier patient »), puis VALIDER (voir README.md)."
  echo "Fichiers de transmission : $sidexis/siomin.sdx et siomin2.sdx."
  wait "$link" || true
  exit 0
fi

# Without a display: click the tooth once the launcher shows, where it is.
read -r x y < <(wine "$build/launcher_point.exe" </dev/null 2>/dev/null | tr -d '\r') || true
if [ -z "${y:-}" ]; then
  echo "Corvane Link ne s'est pas affiché." >&2
  exit 1
fi
xdotool mousemove "$x" "$y" click 1
# The X-ray program is started once both hand-off files are written whole.
for _ in $(seq 100); do [ -s "$sidexis/standin-starts.txt" ] && break; sleep 0.2; done
if [ ! -s "$sidexis/standin-starts.txt" ]; then
  echo "Aucune transmission n'a eu lieu (le programme de radiographie n'a pas été démarré)." >&2
  exit 1
fi

echo "Transmission faite : $(wc -l <"$sidexis/standin-starts.txt") démarrage(s) du programme de radiographie."
echo "C:\\SIDEXIS\\siomin.sdx ($(stat -c %s "$sidexis/siomin.sdx") octets) :"
"$demo_files" records "$sidexis/siomin.sdx"
if cmp -s "$sidexis/siomin.sdx" "$sidexis/siomin2.sdx"; then
  echo "C:\\SIDEXIS\\siomin2.sdx : identique."
else
  echo "C:\\SIDEXIS\\siomin2.sdx : DIFFÉRENT de siomin.sdx." >&2
fi
screenshot=$demo/demo.png
import -window root "$screenshot"
echo "Capture d'écran : $screenshot"
