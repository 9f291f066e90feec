#!/usr/bin/env python3
"""Writes the component's bitmaps (24-bit BMP) into the folder given as the argument:
moxel_normal.bmp (7 x 7), moxel_hover.bmp (14 x 14) and volume_strip.bmp (59 x 280, twenty
level frames of 59 x 14)."""
import struct
import sys

UNLIT = [94, 91, 87, 83, 78, 73, 68, 63, 59, 55, 51, 48]
LIT = [141, 136, 130, 124, 117, 110, 102, 95, 89, 82, 76, 72]
BORDER = (125, 125, 125)
CORNER = (141, 140, 140)


def write_bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b), y counted from the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):  # bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def grey(v):
    v = max(0, min(255, int(round(v))))
    return (v, v, v)


def shade(x, y, size):
    """Light at the top left, dark at the bottom right."""
    return 215 - 120 * (x + y) / (2 * (size - 1))


def normal(x, y):
    return grey(shade(x, y, 7))


def hover(x, y):
    dx, dy = x - 6.5, y - 6.5
    if dx * dx + dy * dy <= 5.2 * 5.2:
        if y in (5, 6) and x in (4, 5, 8, 9):
            return grey(28)  # the eyes
        return grey(236 - 6 * (x + y) / 13)
    return grey(shade(x, y, 14))


def strip(x, y):
    frame, row = divmod(y, 14)
    if row in (0, 13) and x in (0, 58):
        return CORNER
    if row in (0, 13) or x in (0, 58):
        return BORDER
    lit = x - 1 < 3 * frame
    return grey((LIT if lit else UNLIT)[row - 1])


def main():
    folder = sys.argv[1]
    write_bmp(folder + "/moxel_normal.bmp", 7, 7, normal)
    write_bmp(folder + "/moxel_hover.bmp", 14, 14, hover)
    write_bmp(folder + "/volume_strip.bmp", 59, 280, strip)


if __name__ == "__main__":
    main()
