# Where Wine runs a Windows program: by its width, read from its file, and by whether this
# machine's kernel executes 32-bit code. Shared by the commands and the test runners.

# The Wine architecture of the program at `path`: win64 for an x64 program (machine 0x8664 in
# its PE header, which the DOS header's field at 0x3c points to), win32 for any other.
wine_arch_of() {
  local header
  header=$(od -An -tu4 -j60 -N4 "$1")
  if [ "$(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ')" = 8664 ]; then echo win64; else echo win32; fi
}

# Wine runs 32-bit Windows programs as 32-bit Linux processes, which some kernels refuse.
can_run_win32() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Whether Wine runs the program at `path` on this machine itself: a 64-bit one on any x86-64
# Linux machine, a 32-bit one where the kernel allows.
runs_natively() {
  [ "$(wine_arch_of "$1")" = win64 ] || can_run_win32
}
