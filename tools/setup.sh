#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine. Idempotent; run as root.
# A package index that fails to download (a mirror in the middle of a sync, say) does not
# stop set-up: what decides is whether the packages themselves install.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/apt.sh"

packages=(cmake make ninja-build g++ clang libclang-rt-14-dev googletest clang-format
          g++-mingw-w64-i686 binutils-mingw-w64-i686 wine
          xvfb xauth python3 lld llvm)
# Wine runs the 32-bit tests on this machine only where its kernel executes 32-bit code;
# elsewhere they run in an emulated machine, which needs these instead.
if executes_32bit_code; then
  packages+=(wine32:i386)
else
  packages+=(qemu-system-x86 debootstrap e2fsprogs)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
if executes_32bit_code && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt_update_with_retries
apt_install "${missing[@]}"
