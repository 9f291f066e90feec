# A virtual x86-64 machine, emulated by QEMU, for kernels that cannot execute 32-bit x86 code:
# its own Debian kernel can, so Wine runs the Windows tests inside it. The machine's disk (a
# Debian system with Wine, Xvfb and ready Wine prefixes) is made once and kept in a cache
# outside the work tree, under a key that changes with what makes it (see the end).
vm_cache=/var/cache/moxel-control-test-vm
# The emulated processor: no SMAP, whose emulation faults the return to 32-bit code.
vm_cpu=qemu64,+ssse3,+sse4.1,+sse4.2,+popcnt

# The first Debian mirror this machine's own package sources name.
debian_mirror() {
  sed -n 's/^URIs: *\([^ ]*\).*/\1/p; s/^deb \(\[[^]]*\] \)\{0,1\}\([^ ]*\) .*/\2/p' \
    /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null | grep -v security | head -n1
}

# Boots the machine kept in `dir` (its disk's changes dropped when `snapshot` is on) with
# `extra` drives, telling its start-up script `mode`. A machine that hangs is ended after
# longer than a test may take (tools/test.sh), so that the test's own limit speaks first.
boot_vm() {
  local dir=$1 mode=$2 snapshot=$3
  shift 3
  timeout 2400 qemu-system-x86_64 -accel tcg,thread=multi -cpu "$vm_cpu" -smp 2 -m 3072 -nographic -no-reboot \
    -kernel "$dir/vmlinuz" -initrd "$dir/initrd.img" \
    -drive "file=$dir/root.img,if=virtio,format=raw,snapshot=$snapshot" "$@" \
    -append "root=/dev/vda rw console=ttyS0 quiet init=/moxel-vm-init moxelmode=$mode" >/dev/null 2>&1
}

# Tells which step of making the machine failed, with the end of the logs it left.
show_failed_step() {
  local step=$1 log
  shift
  echo "making the test machine failed in $step; its log:" >&2
  for log in "$@"; do
    [ -f "$log" ] && tail -n 40 "$log" | sed "s|^|  $(basename "$log"): |" >&2
  done
  return 0
}

vm_ready() { [ -f "$vm_dir/root.img" ]; }

# A single test program does not make the machine (the test command does, while the builds
# run): without it, it fails saying so.
require_test_vm() {
  vm_ready && return 0
  echo "32-bit Wine does not run on this machine and the emulated machine that runs it instead is not made:" \
    "bash tools/test.sh (as root) makes it" >&2
  return 1
}

# Makes the machine unless it is there. One maker at a time per key, each in a folder of its
# own, so that makers of other keys (other versions of these scripts) can run beside it.
build_test_vm() {
  vm_ready && return 0
  mkdir -p "$vm_cache"
  (
    flock 9
    vm_ready || make_test_vm
  ) 9>"$vm_cache/$vm_key.lock"
}

make_test_vm() {
  echo "making the test machine for Wine (once per machine, several minutes)" >&2
  local work="$vm_cache/making-$vm_key"
  # What a maker that was stopped left, its system's /proc unmounted first.
  umount "$work/root/proc" 2>/dev/null || true
  rm -rf "$work" && mkdir -p "$work"
  if ! debootstrap --variant=minbase bookworm "$work/root" "$(debian_mirror)" >"$work/debootstrap.log" 2>&1; then
    show_failed_step "debootstrap" "$work/root/debootstrap/debootstrap.log" "$work/debootstrap.log"
    return 1
  fi
  cp "$root/tools/apt.sh" "$work/root/tmp/apt.sh"
  mount --bind /proc "$work/root/proc"
  local installed=0
  chroot "$work/root" /bin/bash -c '
    set -e
    source /tmp/apt.sh
    export DEBIAN_FRONTEND=noninteractive
    dpkg --add-architecture i386
    apt_update_with_retries
    apt_install linux-image-amd64 wine wine32:i386 xvfb xauth' \
    >"$work/install.log" 2>&1 || installed=$?
  umount "$work/root/proc"
  rm -f "$work/root/tmp/apt.sh"
  if [ "$installed" -ne 0 ]; then
    show_failed_step "the package installation" "$work/install.log"
    return "$installed"
  fi
  install -m 755 "$root/tools/test_vm_init.sh" "$work/root/moxel-vm-init"
  mkdir -p "$work/root/build"
  cp "$work"/root/boot/vmlinuz-* "$work/vmlinuz"
  cp "$work"/root/boot/initrd.img-* "$work/initrd.img"
  truncate -s 6G "$work/root.img"
  mke2fs -q -t ext4 -d "$work/root" "$work/root.img"
  rm -rf "$work/root"
  # The Wine prefixes are made once, on the disk itself; test runs drop their changes.
  boot_vm "$work" prepare off
  rm -f "$work"/*.log
  mv "$work" "$vm_dir"
}

# Runs `command` with its arguments inside the machine, in a copy of `folder` (/build there);
# prints what it printed and answers its exit code. With vm_results set, the folder of that
# name that the command made there is copied back into the folder vm_results_to names.
run_command_in_vm() {
  local folder=$1
  shift
  local scratch
  scratch=$(mktemp -d)
  cp -al "$folder" "$scratch/build"
  printf '%s\n' "$@" >"$scratch/build/command"
  if [ -n "${vm_results:-}" ]; then mkdir -p "$scratch/build/$vm_results"; fi
  truncate -s 1G "$scratch/build.img"
  mke2fs -q -t ext4 -d "$scratch/build" "$scratch/build.img"
  boot_vm "$vm_dir" run on -drive "file=$scratch/build.img,if=virtio,format=raw"
  debugfs -R "cat /output" "$scratch/build.img" 2>/dev/null
  if [ -n "${vm_results:-}" ]; then
    # debugfs copies a folder only to where none of its name is, and the results join
    # whatever an earlier run left there.
    mkdir -p "$scratch/results" "$vm_results_to/$vm_results"
    debugfs -R "rdump /$vm_results $scratch/results" "$scratch/build.img" >/dev/null 2>&1
    cp -r "$scratch/results/$vm_results/." "$vm_results_to/$vm_results/" 2>/dev/null ||
      echo "no $vm_results came back from the test machine" >&2
  fi
  local rc
  rc=$(debugfs -R "cat /exit-code" "$scratch/build.img" 2>/dev/null)
  rm -rf "$scratch"
  if [ -z "$rc" ]; then
    echo "the test machine ended without an exit code for: $*" >&2
    return 1
  fi
  return "$rc"
}

# Runs the Windows program `exe` with `arguments` under Wine inside the machine, on a copy of
# its folder, as run_command_in_vm does.
run_in_vm() {
  local exe=$1
  shift
  run_command_in_vm "$(dirname "$exe")" wine "/build/$(basename "$exe")" "$@"
}

# The disk's key: the code of the functions that make and boot it, the processor, the
# machine's start-up script and the package installation it uses; not the comments, nor how
# the machine is used.
vm_key=$( (
  declare -f debian_mirror boot_vm make_test_vm
  echo "$vm_cpu"
  cd "$(dirname "${BASH_SOURCE[0]}")" && cat test_vm_init.sh apt.sh
) | sha256sum | cut -c1-16)
vm_dir="$vm_cache/$vm_key"
