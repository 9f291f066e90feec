#!/bin/bash
# The start-up script of the test machine: makes the Wine prefixes ("prepare") or runs the
# command written in /build/command of the second disk, one word a line ("run"), then powers
# the machine off.
mount -t proc proc /proc
mount -t tmpfs tmp /tmp
mount -t devtmpfs dev /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs shm /dev/shm
export HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin
# The display is ready when Xvfb writes its number; however long that takes here.
Xvfb :5 -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>/tmp/display >/dev/null 2>&1 &
while kill -0 $! 2>/dev/null && [ ! -s /tmp/display ]; do sleep 0.1; done
export DISPLAY=:5 WINEPREFIX=/root/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
case "$moxelmode" in
  prepare)
    wineboot -i >/dev/null 2>&1
    wineserver -w
    # The monitor runner's prefix (tests/wine/run_with_monitors.sh), 32-bit throughout.
    WINEPREFIX=/root/wineprefix-monitors WINEARCH=win32 wineboot -i >/dev/null 2>&1
    WINEPREFIX=/root/wineprefix-monitors wineserver -w
    ;;
  run)
    mount /dev/vdb /build
    cd /build
    mapfile -t command < command
    "${command[@]}" >/build/output 2>&1
    echo $? >/build/exit-code
    wineserver -k
    umount /build
    ;;
esac
sync
echo o >/proc/sysrq-trigger
sleep 60
