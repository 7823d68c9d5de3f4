#!/usr/bin/env bash
# Makes the installer build/win64/CorvaneLink-<version>-setup.exe (NSIS): builds the program
# (win64) and the native helper that writes the settings files the installer provides. With
# CORVANE_SIGN_CERT (a PKCS#12 file) and CORVANE_SIGN_PASSWORD_FILE, and CORVANE_SIGN_TIMESTAMP_URL
# for a time-stamp, it signs the program, the uninstaller and the installer (installer/sign.sh);
# without them it says that they are unsigned.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native --target reset_settings
cmake --preset win64 >/dev/null
settings=build/win64/installer/settings
rm -rf "$settings" && mkdir -p "$settings"
build/native/reset_settings "$settings"
cmake --build --preset win64 --target installer
ls -l build/win64/CorvaneLink-*-setup.exe
