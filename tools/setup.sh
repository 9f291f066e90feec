#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine. Idempotent; run as root.
# A package index that fails to download (a mirror in the middle of a sync, say) does not
# stop set-up: what decides is whether the packages themselves install.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/apt.sh"

packages=(cmake make ninja-build g++ clang libclang-rt-14-dev googletest clang-format
          g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 wine
          xvfb xauth python3 lld llvm)
emulated_machine=(qemu-system-x86 debootstrap e2fsprogs)
# Wine runs the 64-bit tests on any x86-64 machine, and the 32-bit tests on this machine where
# its kernel executes 32-bit code and the mirror's i386 packages install; elsewhere those run
# in an emulated machine, which needs other packages instead.
wine32=()
if executes_32bit_code; then
  wine32=(wine32:i386)
else
  packages+=("${emulated_machine[@]}")
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }
# A machine that once fell back to the emulated machine keeps it, rather than asking the
# mirror for the i386 packages on every run.
if [ ${#wine32[@]} -gt 0 ] && ! installed "${wine32[0]}"; then
  fell_back=true
  for p in "${emulated_machine[@]}"; do installed "$p" || fell_back=false; done
  if $fell_back; then wine32=(); fi
fi

missing=()
for p in "${packages[@]}" "${wine32[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
if [ ${#wine32[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt_update_with_retries
missing_packages=()
for p in "${missing[@]}"; do
  [ "$p" = "${wine32[0]:-}" ] || missing_packages+=("$p")
done
if [ ${#missing_packages[@]} -gt 0 ]; then
  apt_install "${missing_packages[@]}"
fi
# The i386 packages may lag their amd64 twins while the mirror syncs; the tests do not need
# them, as long as the emulated machine can be made.
if [ ${#missing_packages[@]} -lt ${#missing[@]} ] && ! apt_install "${wine32[@]}" 2>/dev/null; then
  echo "set-up: ${wine32[0]} cannot be installed from this mirror now; the tests run Wine in an emulated machine" >&2
  apt_install "${emulated_machine[@]}"
fi
