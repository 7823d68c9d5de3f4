#!/usr/bin/env bash
# Makes sure the Debian packages the build, the tests and the demo need are installed.
# As root it installs what is missing with apt-get; otherwise it names what is missing.
set -euo pipefail
packages=(cmake make g++ clang googletest g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xdotool imagemagick x11-utils procps nsis osslsigncode openssl)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# libFuzzer comes apart from clang, in the version of the clang installed.
clang_major=$(clang --version 2>/dev/null | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)
fuzzer=libfuzzer-${clang_major:-14}-dev
dpkg-query -W -f='${Status}' "$fuzzer" 2>/dev/null | grep -q "install ok installed" || missing+=("$fuzzer")
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Paquets Debian manquants : ${missing[*]}" >&2
  echo "Installez-les (en root) : apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
