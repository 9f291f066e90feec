# Package installation that outlasts a mirror in the middle of a sync, shared by the set-up of
# this machine and of the emulated test machine (which sources it inside its own system).
# APT_RETRIES and APT_RETRY_PAUSE (seconds) set how often and how patiently a step is retried.

# True where the kernel executes 32-bit x86 programs: a static 93-byte i386 program that only
# exits with 0 (ELF header, one loadable segment, mov eax,1; xor ebx,ebx; int 0x80).
executes_32bit_code() {
  local probe status=0
  probe=$(mktemp)
  printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0'\
'\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\135\0\0\0\135\0\0\0\5\0\0\0'\
'\0\20\0\0\270\1\0\0\0\61\333\315\200' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  return "$status"
}

# Refreshes the package lists, retrying a failed download; when every try fails, set-up goes
# on with the lists the machine has, and the installation decides.
apt_update_with_retries() {
  local attempt errors
  errors=$(mktemp)
  for attempt in $(seq "${APT_RETRIES:-3}"); do
    if apt-get update -q >/dev/null 2>"$errors"; then
      rm -f "$errors"
      return 0
    fi
    [ "$attempt" -lt "${APT_RETRIES:-3}" ] && sleep "${APT_RETRY_PAUSE:-5}"
  done
  echo "set-up: apt-get update failed ${APT_RETRIES:-3} times, going on with the package lists this machine has: $(grep -m1 '^E:' "$errors")" >&2
  rm -f "$errors"
}

# Installs the named packages, refreshing the lists and retrying when a download fails. A
# package that cannot be installed ends set-up with its name and apt's error.
apt_install() {
  local attempt log
  log=$(mktemp)
  for attempt in $(seq "${APT_RETRIES:-3}"); do
    if apt-get install -y -q --no-install-recommends "$@" >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
    [ "$attempt" -lt "${APT_RETRIES:-3}" ] || break
    sleep "${APT_RETRY_PAUSE:-5}"
    apt-get update -q >/dev/null 2>&1 || true
  done
  local package failed=()
  for package in "$@"; do
    apt-get install -s -q --no-install-recommends "$package" >/dev/null 2>&1 || failed+=("$package")
  done
  echo "set-up: cannot install ${failed[*]:-$*}; apt-get said:" >&2
  grep -E '^(E|W):|^ [^ ].*: Depends' "$log" >&2 || tail -n 20 "$log" >&2
  rm -f "$log"
  return 1
}
