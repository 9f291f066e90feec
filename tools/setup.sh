#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine. Idempotent; run as root.
set -euo pipefail

packages=(cmake make ninja-build g++ clang libclang-rt-14-dev googletest
          g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386
          xvfb xauth python3
          qemu-system-x86 debootstrap e2fsprogs lld llvm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
