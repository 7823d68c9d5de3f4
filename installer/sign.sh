#!/usr/bin/env bash
# Signs a Windows program in place: Authenticode, SHA-256, with the PKCS#12 certificate
# CORVANE_SIGN_CERT whose password is in CORVANE_SIGN_PASSWORD_FILE, time-stamped (RFC 3161) by
# CORVANE_SIGN_TIMESTAMP_URL when it is set. make_installer.sh runs it on the program, and makensis
# on the uninstaller and on the installer.
#   sign.sh FILE
set -euo pipefail
file=$1
args=(sign -pkcs12 "$CORVANE_SIGN_CERT" -readpass "$CORVANE_SIGN_PASSWORD_FILE" -h sha256 -n "Corvane Link"
      -in "$file" -out "$file.signed")
if [ -n "${CORVANE_SIGN_TIMESTAMP_URL:-}" ]; then args+=(-ts "$CORVANE_SIGN_TIMESTAMP_URL"); fi
osslsigncode "${args[@]}" >/dev/null
mv -f "$file.signed" "$file"
