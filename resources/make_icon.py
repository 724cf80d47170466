#!/usr/bin/env python3
"""Draws the program's icon, stratocue.ico: the splash picture's sun behind a cloud over a
runway on a sky fading from deep to pale blue, in a rounded square, at every size Windows
asks for from 16 to 256 px. Only the standard library: each size is drawn with 4 x 4
samples per pixel; 256 px is stored as PNG, the smaller sizes as 32-bit bitmaps.

    resources/make_icon.py [OUTPUT]      (default: stratocue.ico beside this script)
"""
import os
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 128, 256)
SAMPLES = 4

DEEP_SKY = (40, 90, 170)
PALE_SKY = (150, 200, 240)
SUN = (255, 214, 90)
CLOUD = (250, 250, 252)
ASPHALT = (70, 70, 78)
PAINT = (240, 240, 240)


def in_rounded_square(x, y, radius=0.18):
    cx = min(max(x, radius), 1 - radius)
    cy = min(max(y, radius), 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def in_ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def in_runway(x, y):
    if y < 0.66:
        return False
    spread = (y - 0.66) / 0.34  # 0 at the far end, 1 at the near edge
    half = 0.07 + spread * 0.31
    return abs(x - 0.5) <= half


def in_centre_line(x, y):
    if y < 0.70:
        return False
    half = 0.012 + (y - 0.70) * 0.03
    return abs(x - 0.5) <= half and int((y - 0.70) / 0.075) % 2 == 0


def colour_at(x, y):
    """The picture's colour at (x, y) in the unit square; None outside the rounded square."""
    if not in_rounded_square(x, y):
        return None
    if in_centre_line(x, y):
        return PAINT
    if in_runway(x, y):
        return ASPHALT
    cloud = y <= 0.62 and (in_ellipse(x, y, 0.34, 0.50, 0.16, 0.14) or in_ellipse(x, y, 0.50, 0.42, 0.19, 0.18)
             or in_ellipse(x, y, 0.66, 0.52, 0.14, 0.12) or (0.22 <= x <= 0.78 and 0.50 <= y <= 0.62))
    if cloud:  # a flat base
        return CLOUD
    if in_ellipse(x, y, 0.68, 0.28, 0.20, 0.20):
        return SUN
    return tuple(round(a + (b - a) * y) for a, b in zip(DEEP_SKY, PALE_SKY))


def render(size):
    """Rows of (r, g, b, a) tuples, top row first."""
    rows = []
    n = SAMPLES * SAMPLES
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    if c is not None:
                        r, g, b, covered = r + c[0], g + c[1], b + c[2], covered + 1
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((r // covered, g // covered, b // covered, 255 * covered // n))
        rows.append(row)
    return rows


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def bitmap(rows):
    """A 32-bit icon bitmap: the header (twice the height: colour and mask), BGRA rows
    bottom-up, then the 1-bit mask (set = transparent), each row padded to 32 bits."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(rows) for p in row)
    mask_row_bytes = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_row_bytes)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colour + bytes(mask)


def icon(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    data = b""
    for size, image in images:
        dimension = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", dimension, dimension, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    return directory + entries + data


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                                 "stratocue.ico")
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png(rows) if size >= 256 else bitmap(rows)))
    with open(output, "wb") as out:
        out.write(icon(images))


if __name__ == "__main__":
    main()
