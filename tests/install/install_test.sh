#!/usr/bin/env bash
# The installer under Wine, in a fresh prefix of its own (BUILD/install/wineprefix), through one
# practice PC's life: a silent install lays down the program, the shortcut, the uninstall entry and
# the reset settings; updates close the running link first (asked, or ended by process when it
# does not answer), make a lost Tech.txt from Tech2.txt and start the link with Windows for every
# user; a program file held by another program stops an update or an uninstall with a non-zero
# status; the uninstall removes the program and its start-up and keeps the settings; a build made
# with a certificate carries three valid signatures; the wizard's finish page starts the link
# through the shell. Prints figures on lines starting with "figure:".
#   install_test.sh BUILD INSTALLER
set -euo pipefail
build=$(realpath "$1") installer=$(realpath "$2")
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/../../scripts/wine-env.sh"
root="$build/install"
rm -rf "$root" && mkdir -p "$root"
cleanup() { corvane_wine_stop "$root"; }
trap cleanup EXIT
corvane_wine_env "$root"

c="$WINEPREFIX/drive_c"
program="$c/Program Files/Corvane Link"
program_win='C:\Program Files\Corvane Link'
shortcut="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvane Link.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\CorvaneLink'
machine_run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
user_run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
run() { status=0; "$@" >/dev/null 2>&1 || status=$?; }  # its exit status in $status
now() { date +%s%N; }
ms_since() { echo $((($(now) - $1) / 1000000)); }
ended() { for _ in $(seq 40); do ps -p "$1" -o stat= | grep -qv Z || return 0; sleep 0.25; done; return 1; }
start_link() { wine "$program/CorvaneLink.exe" >/dev/null 2>&1 & link=$!; wine "$build/launcher_point.exe" >/dev/null; }
started_at_sign_in() { wine reg query "$1" /v 'Corvane Link' /reg:64 | grep -q 'CorvaneLink.exe'; }
# The uninstaller run in place (_?=), as deployment tools do to get its status; through a batch
# file, which keeps the space before _?= that NSIS looks for.
uninstall_in_place() {
  printf '"%s\\Desinstaller.exe" /S _?=%s\r\nexit /b %%errorlevel%%\r\n' "$program_win" "$program_win" > "$c/uninstall.bat"
  run wine cmd /c 'C:\uninstall.bat'
}
reset_bytes() { for _ in $(seq 14); do printf '100\r\n'; done; printf '0\r\nNotepad\r\nSans titre - Bloc-notes \r\n'; }
reset_bytes > "$root/reset.txt"
printf '1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n13\r\n14\r\n1\r\nJULIE\r\nCabinet \xc9toile\0\r\n' \
  > "$root/configured.txt"
echo "Dupont" > "$root/patient.txt"

# A first install.
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
check "no start with Windows unless asked" eval "! started_at_sign_in '$machine_run'"

# An update while the link runs, with taskkill out of reach: the link ends because it was asked.
# Its configuration survives in Tech2.txt only, and an earlier version started it for one user.
start_link
rm "$c/Sidexis/Tech.txt" && cp "$root/configured.txt" "$c/Sidexis/Tech2.txt"
wine reg add "$user_run" /v 'Corvane Link' /d "\"$program_win\\CorvaneLink.exe\"" /f >/dev/null
touch -d 2000-01-01 "$program/CorvaneLink.exe"  # the running program's file, marked
t=$(now)
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;taskkill.exe=d" run wine "$installer" /S /DEMARRAGE
echo "figure: silent update with the link running: $(ms_since "$t") ms"
check "an update while the link runs ends with status 0" test "$status" -eq 0
check "the running link ended on the installer's request, no process killed" ended "$link"
check "the update wrote the program file anew" sh -c "[ \$(stat -c %Y '$program/CorvaneLink.exe') != 946684800 ]"
check "a missing Tech.txt is made from Tech2.txt" cmp "$c/Sidexis/Tech.txt" "$root/configured.txt"
check "Tech2.txt is left as it was" cmp "$c/Sidexis/Tech2.txt" "$root/configured.txt"
check "/DEMARRAGE starts the link with Windows for every user (HKLM, 64-bit view)" started_at_sign_in "$machine_run"
check "the earlier start for one user is gone" eval "! started_at_sign_in '$user_run'"

# A copy that ignores the request (an earlier version, a hung copy): ended by process, replaced.
cp "$build/standins/practice_standin.exe" "$program/CorvaneLink.exe"
wine "$program/CorvaneLink.exe" "$root/patient.txt" >/dev/null 2>&1 & deaf=$!
sleep 2
t=$(now)
run wine "$installer" /S
echo "figure: silent update with a copy that ignores the request: $(ms_since "$t") ms"
check "a copy that ignores the request is ended by process, the update ends with status 0" \
  eval "[ $status -eq 0 ] && ended $deaf"
check "that update put the new program in place" cmp "$program/CorvaneLink.exe" "$build/CorvaneLink.exe"
check "an update keeps the start with Windows" started_at_sign_in "$machine_run"

# Another program holds the program file open: neither the update nor the uninstall reports success.
wine "$build/standins/practice_standin.exe" "$root/patient.txt" "--hold=$program_win\\CorvaneLink.exe" >/dev/null 2>&1 &
holder=$!
sleep 2
run wine "$installer" /S
check "a held program file stops the update with a non-zero status" test "$status" -ne 0
uninstall_in_place
check "a held program file stops the uninstall with a non-zero status" test "$status" -ne 0
check "that uninstall leaves the program and its entry for a later try" sh -c \
  "cmp '$program/CorvaneLink.exe' '$build/CorvaneLink.exe' && wine reg query '$key'"
kill "$holder" && wait "$holder" 2>/dev/null || true

# The uninstall while the link runs, in place for its status; then as "Programs and Features" runs it, from a copy that removes the uninstaller and the folder.
start_link
wine reg add "$user_run" /v 'Corvane Link' /d "\"$program_win\\CorvaneLink.exe\"" /f >/dev/null
uninstall_in_place
check "an uninstall while the link runs ends with status 0" test "$status" -eq 0
check "the link was ended and the program removed" eval "ended $link && [ ! -e '$program/CorvaneLink.exe' ]"
check "the uninstall removes the start with Windows, for every user and the earlier one" \
  eval "! started_at_sign_in '$machine_run' && ! started_at_sign_in '$user_run'"
check "the uninstall removes the shortcut" test ! -e "$shortcut"
check "the uninstall removes its entry" sh -c "! wine reg query '$key'"
check "the uninstall keeps Tech.txt and Tech2.txt" sh -c \
  "cmp '$c/Sidexis/Tech.txt' '$root/configured.txt' && cmp '$c/Sidexis/Tech2.txt' '$root/configured.txt'"
wine "$program/Desinstaller.exe" /S
for _ in $(seq 60); do [ -e "$program" ] || break; sleep 0.5; done
check "run from its copy, the uninstaller removes itself and the program folder" test ! -e "$program"

# A build made with a certificate: a throwaway authority and code-signing certificate.
pki="$root/pki" && mkdir -p "$pki"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$pki/ca.key" -out "$pki/ca.pem" -days 1 -subj "/CN=Corvane test CA" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout "$pki/code.key" -out "$pki/code.csr" -subj "/CN=Corvane test" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' > "$pki/ext"
openssl x509 -req -in "$pki/code.csr" -CA "$pki/ca.pem" -CAkey "$pki/ca.key" -CAcreateserial -days 1 \
  -extfile "$pki/ext" -out "$pki/code.pem" 2>/dev/null
head -c 16 /dev/urandom | base64 > "$pki/password"
openssl pkcs12 -export -inkey "$pki/code.key" -in "$pki/code.pem" -out "$pki/code.p12" -passout "file:$pki/password"
signed="$root/CorvaneLink-$version-signed-setup.exe"
CORVANE_SIGN_CERT="$pki/code.p12" CORVANE_SIGN_PASSWORD_FILE="$pki/password" \
  "$here/../../installer/make_installer.sh" "$build/CorvaneLink.exe" "$build/installer/settings" "$version" "$signed" >/dev/null
verified() { osslsigncode verify -CAfile "$pki/ca.pem" -in "$1"; }
check "the check tells an unsigned program" eval "! verified '$build/CorvaneLink.exe'"
check "the signed installer's signature is valid" verified "$signed"
wine "$signed" /S
check "the program it installs is signed" verified "$program/CorvaneLink.exe"
check "the uninstaller it writes is signed" verified "$program/Desinstaller.exe"

# The wizard, driven with the keyboard, over a copy that ignores the request (its screenshots,
# wizard-N.png, show it closing the link); its finish page starts the link through Explorer, so
# the link is no child of the installer (which runs elevated on Windows).
cp "$build/standins/practice_standin.exe" "$program/CorvaneLink.exe"
wine "$program/CorvaneLink.exe" "$root/patient.txt" >/dev/null 2>&1 & deaf=$!
wine "$installer" >/dev/null 2>&1 & wizard=$!
processes() { wine wmic process get Name,ParentProcessId,ProcessId | iconv -f UTF-16 -t UTF-8 | tr -d '\r'; }
for _ in $(seq 40); do
  setup_id=$(processes | awk -v n="$(basename "$installer")" '$1 == n { print $3 }')
  [ -n "$setup_id" ] && break; sleep 0.5
done
xdotool mousemove 640 900
sleep 3
for i in $(seq 12); do
  ps -p "$wizard" -o stat= | grep -qv Z || break
  import -window root "$root/wizard-$i.png"; xdotool key Return; sleep 1.5
done
check "the wizard ends a copy that ignores the request, and its finish page starts the link" \
  eval "ended $deaf && wine '$build/launcher_point.exe'"
parent=$(processes | awk '$1 == "CorvaneLink.exe" { print $2 }')
echo "figure: installer process $setup_id, the started link's parent $parent"
check "the link started by the finish page is not the installer's child" sh -c "[ -n '$parent' ] && [ '$parent' != '$setup_id' ]"
[ "$failures" -eq 0 ]
