#!/usr/bin/env bash
# Makes the installer from a built program and the folder holding Tech.txt with the reset values.
# Given CORVANE_SIGN_CERT and CORVANE_SIGN_PASSWORD_FILE (see sign.sh), it signs the program before
# packing it, the uninstaller before the installer embeds it, and the installer; otherwise it says
# that they are unsigned.
#   make_installer.sh PROGRAM SETTINGS VERSION OUTFILE
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
program=$(realpath "$1") settings=$(realpath "$2") version=$3 outfile=$(realpath -m "$4")
sign=()
if [ -n "${CORVANE_SIGN_CERT:-}" ] && [ -n "${CORVANE_SIGN_PASSWORD_FILE:-}" ]; then
  work="$outfile.work" && rm -rf "$work" && mkdir -p "$work"
  cp "$program" "$work/CorvaneLink.exe" && program="$work/CorvaneLink.exe"
  "$here/sign.sh" "$program"
  sign=(-DSIGN="$here/sign.sh")
  echo "Signing CorvaneLink.exe, the uninstaller and the installer with $CORVANE_SIGN_CERT"
else
  echo "Unsigned: CorvaneLink.exe, the uninstaller and the installer (CORVANE_SIGN_CERT and CORVANE_SIGN_PASSWORD_FILE unset)"
fi
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DPROGRAM="$program" -DSETTINGS="$settings" \
  -DOUTFILE="$outfile" "${sign[@]}" "$here/corvane.nsi"
