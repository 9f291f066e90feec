#!/usr/bin/env python3
"""Writes the component's bitmaps into the folder given as the argument: moxel_normal.bmp
(7 x 7), moxel_hover.bmp (14 x 14) and volume_strip.bmp (59 x 280, twenty level frames of
59 x 14).

Each is stored in its smallest form: a palette of exactly the colours it uses, with 4 or 8
bits a pixel, or run-length encoded with 8 bits (BI_RLE8). A run-length encoding writes every
pixel of every row (no delta, no row ended early), so no pixel is left to what the
destination held. Each file is decoded again and compared with the intended pixels before it
is written: an encoding that would show other pixels fails the build."""
import struct
import sys

UNLIT = [94, 91, 87, 83, 78, 73, 68, 63, 59, 55, 51, 48]
LIT = [141, 136, 130, 124, 117, 110, 102, 95, 89, 82, 76, 72]
BORDER = (125, 125, 125)
CORNER = (141, 140, 140)

BI_RGB, BI_RLE8 = 0, 1
FILE_HEADER, INFO_HEADER = "<2sIHHI", "<IiiHHIIiiII"
HEADERS_SIZE = struct.calcsize(FILE_HEADER) + struct.calcsize(INFO_HEADER)
END_OF_LINE, END_OF_BITMAP = b"\0\0", b"\0\1"


def packed_pixels(rows, bits):
    """Uncompressed rows of 4 or 8 bits a pixel, each padded to 4 bytes."""
    data = b""
    for row in rows:
        if bits == 4:
            line = bytes((row[x] << 4) | (row[x + 1] if x + 1 < len(row) else 0) for x in range(0, len(row), 2))
        else:
            line = bytes(row)
        data += line + bytes(-len(line) % 4)
    return data


def rle8_row(row):
    """The shortest encoding of one row: runs of one index (count, index) and literal
    stretches of 3 to 255 indices (0, count, indices, padded to an even length)."""
    shortest = [b""] + [None] * len(row)  # the shortest code of the first n pixels
    for end in range(1, len(row) + 1):
        for start in range(max(0, end - 255), end):
            piece = row[start:end]
            if len(set(piece)) == 1:
                code = bytes((len(piece), piece[0]))
            elif len(piece) >= 3:
                code = bytes((0, len(piece))) + bytes(piece) + bytes(len(piece) % 2)
            else:
                continue
            if shortest[end] is None or len(shortest[start]) + len(code) < len(shortest[end]):
                shortest[end] = shortest[start] + code
    return shortest[len(row)]


def rle8_pixels(rows):
    return END_OF_LINE.join(rle8_row(row) for row in rows) + END_OF_BITMAP


def encode(width, height, pixels):
    """The smallest file that holds pixels (r, g, b), rows from the top."""
    palette = sorted(set(pixels))
    if len(palette) > 256:
        raise ValueError("more than 256 colours")
    index = {colour: i for i, colour in enumerate(palette)}
    rows = [[index[pixels[y * width + x]] for x in range(width)] for y in reversed(range(height))]  # bottom-up
    forms = [(8, BI_RGB, packed_pixels(rows, 8)), (8, BI_RLE8, rle8_pixels(rows))]
    if len(palette) <= 16:
        forms.append((4, BI_RGB, packed_pixels(rows, 4)))
    bits, compression, data = min(forms, key=lambda form: len(form[2]))
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = HEADERS_SIZE + len(colours)
    header = struct.pack(FILE_HEADER, b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack(INFO_HEADER, 40, width, height, 1, bits, compression, len(data), 2835, 2835, len(palette), 0)
    return header + info + colours + data


def decode(bmp):
    """Width, height and pixels (r, g, b), rows from the top, of a file that encode() writes;
    fails on any other file, on a pixel outside the palette, and on a run-length encoding
    that leaves a pixel unwritten."""

    def check(condition, what):
        if not condition:
            raise ValueError(what)

    magic, size, _, _, offset = struct.unpack_from(FILE_HEADER, bmp)
    header_size, width, height, planes, bits, compression, data_size, _, _, used, _ = struct.unpack_from(
        INFO_HEADER, bmp, struct.calcsize(FILE_HEADER))
    check(magic == b"BM" and size == len(bmp) and header_size == 40 and planes == 1, "header")
    check(width > 0 and height > 0 and 0 < used <= 1 << bits, "size or palette")
    check(offset == HEADERS_SIZE + 4 * used and offset + data_size == len(bmp), "layout")
    palette = [(r, g, b) for b, g, r, _ in struct.iter_unpack("<4B", bmp[HEADERS_SIZE:offset])]
    data = bmp[offset:]
    rows = []
    if compression == BI_RGB and bits in (4, 8):
        stride = (width * bits + 31) // 32 * 4
        check(len(data) == stride * height, "data size")
        for y in range(height):
            line = data[y * stride:(y + 1) * stride]
            if bits == 8:
                rows.append(list(line[:width]))
            else:
                rows.append([line[x // 2] >> 4 if x % 2 == 0 else line[x // 2] & 15 for x in range(width)])
    else:
        check(compression == BI_RLE8 and bits == 8, "format")
        at, row = 0, []
        while True:
            count, value = data[at], data[at + 1]
            at += 2
            if count:
                row += [value] * count
            elif value >= 3:
                row += list(data[at:at + value])
                at += value + value % 2
            else:
                check(value != 2, "delta")
                check(len(row) == width, "row length")
                rows.append(row)
                row = []
                if value == 1:
                    break
        check(at == len(data) and len(rows) == height, "end of bitmap")
    check(all(i < used for row in rows for i in row), "index outside the palette")
    return width, height, [palette[i] for row in reversed(rows) for i in row]


def write_bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b), y counted from the top."""
    pixels = [pixel(x, y) for y in range(height) for x in range(width)]
    bmp = encode(width, height, pixels)
    if decode(bmp) != (width, height, pixels):
        raise ValueError(path + " does not decode to its pixels")
    with open(path, "wb") as f:
        f.write(bmp)


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
