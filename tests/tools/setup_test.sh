#!/usr/bin/env bash
# The set-up command against a package mirror that misbehaves: apt-get, dpkg and dpkg-query are
# stand-ins on PATH that log their calls, so that nothing is installed for real.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tools/apt.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cat >"$work/bin/apt-get" <<'FAKE'
#!/usr/bin/env bash
echo "apt-get $*" >>"$FAKE_LOG"
case "$1" in
  update)
    if [ "$FAKE_UPDATE" = always-fails ] || { [ "$FAKE_UPDATE" = fails-once ] && [ ! -f "$FAKE_LOG.updated" ]; }; then
      touch "$FAKE_LOG.updated"
      echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (28488 != 28520). Mirror sync in progress? [IP: 151.101.2.132 80]" >&2
      exit 100
    fi ;;
  install)
    for package in "$@"; do
      if [ "$package" = "${FAKE_UNINSTALLABLE:-}" ]; then
        echo "E: Unable to locate package $package" >&2
        exit 100
      fi
    done ;;
esac
exit 0
FAKE
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"
printf '#!/bin/sh\necho "dpkg $*" >>"$FAKE_LOG"\n' >"$work/bin/dpkg"
chmod +x "$work/bin/"*

failures=0
check() {  # check DESCRIPTION CONDITION...
  local description=$1
  shift
  if "$@"; then echo "ok: $description"; else echo "FAILED: $description"; failures=$((failures + 1)); fi
}

# Runs the set-up command with FAKE_UPDATE=$1 and FAKE_UNINSTALLABLE=$2; its status in $status,
# its messages in $work/stderr, the stand-ins' calls in $work/log.
run_setup() {
  rm -f "$work/log" "$work/log.updated"
  status=0
  PATH="$work/bin:$PATH" FAKE_LOG="$work/log" FAKE_UPDATE=$1 FAKE_UNINSTALLABLE=$2 APT_RETRY_PAUSE=0 \
    bash "$root/tools/setup.sh" >/dev/null 2>"$work/stderr" || status=$?
}
installs() { grep -q "^apt-get install -y .* $1\( \|$\)" "$work/log"; }
updates() { [ "$(grep -c '^apt-get update' "$work/log")" -eq "$1" ]; }

run_setup fails-once ""
check "a broken index is fetched again and set-up succeeds" test "$status" -eq 0
check "the lists are fetched twice" updates 2
check "the packages are installed once" test "$(grep -c '^apt-get install -y.* cmake ' "$work/log")" -eq 1
check "the build packages are asked for" installs g++-mingw-w64-i686
if executes_32bit_code; then
  check "wine32 is asked for on a kernel that runs 32-bit code" installs wine32:i386
  check "the i386 architecture is added" grep -q '^dpkg --add-architecture i386' "$work/log"
else
  check "nothing of i386 is asked for on a kernel that cannot run it" bash -c "! grep -q i386 '$work/log'"
  check "the emulated machine's packages are asked for" installs qemu-system-x86
fi

if executes_32bit_code; then
  # The i386 packages lag their amd64 twins: the emulated machine stands in.
  run_setup works wine32:i386
  check "set-up succeeds without wine32" test "$status" -eq 0
  check "it says why in one line" test "$(grep -c '^set-up: wine32:i386 cannot be installed' "$work/stderr")" -eq 1
  check "the emulated machine's packages are asked for instead" installs qemu-system-x86
fi

run_setup always-fails ""
check "set-up goes on with the lists it has" test "$status" -eq 0
check "it says so in one line" test "$(grep -c 'going on with the package lists' "$work/stderr")" -eq 1
check "that line gives apt's reason" grep -q 'Mirror sync in progress' "$work/stderr"
check "the packages are still installed" installs cmake

run_setup works lld
check "a package that cannot be installed ends set-up" test "$status" -ne 0
check "the message names the package" grep -q '^set-up: cannot install lld;' "$work/stderr"
check "the message gives apt's error" grep -q 'Unable to locate package lld' "$work/stderr"

[ "$failures" -eq 0 ]
