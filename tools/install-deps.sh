#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, when they are missing.
# Safe to run again: it asks apt only for what is not installed yet.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine64 xvfb mscompress imagemagick fonts-dejavu-core python3
  # widl for the test type library, lnkinfo to read shell links back
  mingw-w64-tools liblnk-utils
  # osslsigncode signs media (qs-medium's sign entry); openssl makes the tests' certificate
  osslsigncode openssl
)

# The shipping programs are 32-bit: Wine's 32-bit loader and libraries come from the i386
# architecture (multiarch), added once.
packages+=(wine32:i386)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Adding the i386 architecture"
  $sudo dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
