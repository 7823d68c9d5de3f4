#!/usr/bin/env bash
# The installer under Wine, in a fresh prefix of its own (BUILD/install/wineprefix): a silent
# install lays down the program, the shortcut, the uninstall entry and the reset settings; the
# installed program shows its launcher; a reinstall keeps a configured Tech.txt; a silent
# uninstall removes the program and keeps the settings.
#   install_test.sh BUILD INSTALLER
set -euo pipefail
build=$1 installer=$2
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
root="$build/install"
rm -rf "$root" && mkdir -p "$root"
cleanup() {
  wineserver -k 2>/dev/null || true
  if [ -f "$root/xvfb.pid" ]; then kill "$(cat "$root/xvfb.pid")" 2>/dev/null || true; fi
}
trap cleanup EXIT
corvane_wine_env "$root"

c="$WINEPREFIX/drive_c"
program="$c/Program Files/Corvane Link"
shortcut="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvane Link.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\CorvaneLink'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
reset_bytes() { for _ in $(seq 14); do printf '100\r\n'; done; printf '0\r\nNotepad\r\nSans titre - Bloc-notes \r\n'; }
reset_bytes > "$root/reset.txt"

wine "$installer" /S
check "the program is installed" cmp "$program/CorvaneLink.exe" "$build/CorvaneLink.exe"
version=$(basename "$installer" | sed -n 's/^CorvaneLink-\(.*\)-setup\.exe$/\1/p')
check "the program's VERSIONINFO carries the installer's version ($version)" sh -c \
  "strings -el '$program/CorvaneLink.exe' | grep -qx '$version.0'"
check "the uninstall entry carries it too" sh -c "wine reg query '$key' /v DisplayVersion | grep -q 'REG_SZ *$version'"
check "Tech.txt holds the reset values (108 bytes)" cmp "$c/Sidexis/Tech.txt" "$root/reset.txt"
check "Tech2.txt holds the reset values" cmp "$c/Sidexis/Tech2.txt" "$root/reset.txt"
check "the Start-menu shortcut points at the program" grep -a -q 'Corvane Link.CorvaneLink.exe' "$shortcut"
check "the uninstall entry names the program" sh -c "wine reg query '$key' /v DisplayName | grep -q 'Corvane Link'"
check "the uninstall entry runs the uninstaller" sh -c "wine reg query '$key' /v UninstallString | grep -q 'Desinstaller.exe'"
check "no start with Windows unless asked" sh -c "! wine reg query '$run_key' /v 'Corvane Link'"
wine "$program/CorvaneLink.exe" >/dev/null 2>&1 &
check "the installed program shows its launcher" wine "$build/launcher_point.exe"
wine taskkill /f /im CorvaneLink.exe >/dev/null 2>&1 || true

# A configured practice, its second copy lost: a reinstall keeps Tech.txt byte for byte and
# makes the copy from it.
printf '1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n13\r\n14\r\n1\r\nJULIE\r\nCabinet \xc9toile\0\r\n' \
  > "$c/Sidexis/Tech.txt"
cp "$c/Sidexis/Tech.txt" "$root/configured.txt"
rm "$c/Sidexis/Tech2.txt"
wine "$installer" /S /DEMARRAGE
check "a reinstall keeps the configured Tech.txt" cmp "$c/Sidexis/Tech.txt" "$root/configured.txt"
check "a reinstall makes a lost Tech2.txt from Tech.txt" cmp "$c/Sidexis/Tech2.txt" "$root/configured.txt"
check "/DEMARRAGE starts the program with Windows" sh -c "wine reg query '$run_key' /v 'Corvane Link' | grep -q CorvaneLink.exe"

# The uninstaller runs from a copy of itself in the temporary folder: wait for its work.
wine "$program/Desinstaller.exe" /S
for _ in $(seq 60); do [ -e "$program" ] || break; sleep 0.5; done
check "the uninstall removes the program folder" test ! -e "$program"
check "the uninstall removes the shortcut" test ! -e "$shortcut"
check "the uninstall removes its entry" sh -c "! wine reg query '$key'"
check "the uninstall removes the start with Windows" sh -c "! wine reg query '$run_key' /v 'Corvane Link'"
check "the uninstall keeps Tech.txt" cmp "$c/Sidexis/Tech.txt" "$root/configured.txt"
check "the uninstall keeps Tech2.txt" cmp "$c/Sidexis/Tech2.txt" "$root/configured.txt"
[ "$failures" -eq 0 ]
