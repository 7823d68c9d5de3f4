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
cmake --build "$build" -j2 --target CorvaneLink practice_standin sidexis_standin
mkdir -p "$demo"
demo=$(cd "$demo" && pwd)

interactive=0
[ -n "${DISPLAY:-}" ] && interactive=1
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
corvane_wine_env "$demo"  # the prefix, and an Xvfb when there is no display

cleanup() {
  wineserver -k 2>/dev/null || true
  if [ "$interactive" = 0 ] && [ -f "$demo/xvfb.pid" ]; then
    kill "$(cat "$demo/xvfb.pid")" 2>/dev/null || true
    rm -f "$demo/xvfb.pid" "$demo/xvfb.display"
  fi
}
trap cleanup EXIT

drive=$WINEPREFIX/drive_c
sidexis=$drive/SIDEXIS  # Wine finds C:\Sidexis and C:\SIDEXIS in the same folder
mkdir -p "$sidexis" "$drive/demo"
cp "$build/standins/sidexis_standin.exe" "$sidexis/Sidexis.exe"
rm -f "$sidexis/siomin.sdx" "$sidexis/siomin2.sdx" "$sidexis/standin-starts.txt"

# The link settings for the plain stand-in: entries 1 to 14 are the ids of its controls
# (Adresse1 .. Ville), then no control screen, its class, and its title ended by a NUL as the
# finder captures it. Lines end in CR LF.
{
  printf '%s\r\n' 1007 1008 1009 1006 1010 1004 1013 1012 1002 1001 1005 1003 -5 1011 0 CorvanePlainPractice
  printf 'Dossier patient\0\r\n'
} >"$sidexis/Tech.txt"
cp "$sidexis/Tech.txt" "$sidexis/Tech2.txt"

# The demo patient, in Windows-1252 as the practice program holds it.
patient=$drive/demo/patient.txt
rm -f "$patient.shown"
iconv -f UTF-8 -t WINDOWS-1252 >"$patient" <<'EOF'
NumDossier=1207
Nom=Lefèvre
Prenom=Hélène
DateNaissance=14/03/1985
NumSS=2 85 03 75 123 456 78
Civilite=Mme	Madame
Adresse1=12 rue des Lilas
Adresse2=Bâtiment B
Adresse3=
CP=75011
Ville=Paris
Telephone=01 23 45 67 89
Mobile=06 12 34 56 78
EMail=helene.lefevre@example.fr
EOF

wine "$build/standins/practice_standin.exe" plain 'C:\demo\patient.txt' </dev/null >/dev/null 2>&1 &
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
  echo "Fichiers de transmission : $sidexis/siomin.sdx et siomin2.sdx."
  wait "$link" || true
  exit 0
fi

# Without a display: click the tooth once the launcher is up and has read the patient.
for _ in $(seq 100); do xdotool search --name '^Corvane Link$' >/dev/null 2>&1 && break; sleep 0.2; done
sleep 1
# The launcher's client area starts at (70, 455) on the 1280 x 1024 virtual desktop, which
# lies at the X screen's origin: a point inside the picture, away from the "?" box.
xdotool mousemove 95 495 click 1
for _ in $(seq 100); do [ -s "$sidexis/standin-starts.txt" ] && break; sleep 0.2; done
if [ ! -s "$sidexis/standin-starts.txt" ]; then
  echo "Aucune transmission n'a eu lieu (le programme de radiographie n'a pas été démarré)." >&2
  exit 1
fi
sleep 0.5

# Prints the records of a hand-off file: a length byte, 0x00, the type letter, 0x00, then
# fields each ended by 0x00, then CR LF; texts in Windows-1252.
print_records() {
  local -a bytes
  read -r -a bytes <<<"$(od -An -v -tu1 "$1" | tr -s ' \n' '  ')"
  local -a nNames=(Nom "prénom_dossier" DateNaissance NumSS "(vide)" "(texte fixe)" "(vide)" "(vide)")
  local -a aNames=(Nom "prénom_dossier" DateNaissance NumSS computername date heure "(vide)" "(vide)" "(vide)")
  local i=0 n=${#bytes[@]}
  while ((i < n)); do
    local length=${bytes[i]}
    if ((length < 6 || i + length > n)); then
      echo "  octets restants illisibles à la position $i" >&2
      return 1
    fi
    local type
    type=$(printf "\\$(printf '%03o' "${bytes[i + 2]}")")
    echo "Enregistrement $type ($length octets)"
    local j=$((i + 4)) end=$((i + length - 2)) field=0 escaped=""
    while ((j < end)); do
      if ((bytes[j] == 0)); then
        local name=${nNames[field]:-?}
        [ "$type" = A ] && name=${aNames[field]:-?}
        printf '  %2d %s : "%s"\n' $((field + 1)) "$name" "$(printf '%b' "$escaped" | iconv -f WINDOWS-1252 -t UTF-8)"
        field=$((field + 1))
        escaped=""
      else
        escaped+=$(printf '\\x%02x' "${bytes[j]}")
      fi
      j=$((j + 1))
    done
    i=$((i + length))
  done
}

echo "Transmission faite : $(wc -l <"$sidexis/standin-starts.txt") démarrage(s) du programme de radiographie."
echo "C:\\SIDEXIS\\siomin.sdx ($(stat -c %s "$sidexis/siomin.sdx") octets) :"
print_records "$sidexis/siomin.sdx"
if cmp -s "$sidexis/siomin.sdx" "$sidexis/siomin2.sdx"; then
  echo "C:\\SIDEXIS\\siomin2.sdx : identique."
else
  echo "C:\\SIDEXIS\\siomin2.sdx : DIFFÉRENT de siomin.sdx." >&2
fi
screenshot=$demo/demo.png
import -window root "$screenshot"
echo "Capture d'écran : $screenshot"
