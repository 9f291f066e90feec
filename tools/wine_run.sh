#!/usr/bin/env bash
# Runs a Windows program under Wine. On a machine whose kernel cannot execute 32-bit x86
# code, Wine cannot start at all: the program is reported as skipped (exit code 77, which
# the tests declare as their skip code) with the reason, rather than as a failure of its own.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "SKIPPED: this machine cannot execute 32-bit x86 code, so Wine cannot run $(basename "$1")" >&2
  exit 77
fi
exec wine "$@"
