#!/usr/bin/env python3
"""Writes Velmora.ico: the program's icon, a roundel of the kind painted on
the games' aircraft, as a 32x32 and a 16x16 image in the 16 colours of the
standard Windows palette.

Run it from anywhere; it writes the icon beside itself. The .ico is committed
so that a build needs no Python.
"""
import math
import struct
import sys
from pathlib import Path

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, RED, YELLOW, WHITE = 0, 4, 9, 11, 15
TRANSPARENT = None

# Rings from the outside in: (outer radius as a share of the half size, colour).
RINGS = [(1.00, YELLOW), (0.88, NAVY), (0.58, WHITE), (0.30, RED)]


def roundel(size):
    """Rows of palette indices, top row first; None where the icon is clear."""
    centre = (size - 1) / 2
    half = size / 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            distance = math.hypot(x - centre, y - centre) / half
            colour = TRANSPARENT
            for radius, ring in RINGS:
                if distance <= radius:
                    colour = ring
            row.append(colour)
        rows.append(row)
    return rows


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def icon_image(rows):
    """One image of an .ico: a 4-bit DIB of twice the height (colour bits,
    then the 1-bit transparency mask), rows bottom-up, each padded to 4 bytes."""
    size = len(rows)
    colour_bits = b""
    mask_bits = b""
    for row in reversed(rows):
        nibbles = [BLACK if c is TRANSPARENT else c for c in row]
        colour_bits += padded(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2)))
        mask = 0
        for c in row:
            mask = (mask << 1) | (1 if c is TRANSPARENT else 0)
        mask_bits += padded(mask.to_bytes(size // 8, "big"))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         len(colour_bits) + len(mask_bits), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + colour_bits + mask_bits


def ico(sizes):
    images = [icon_image(roundel(size)) for size in sizes]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = len(data) + 16 * len(images)
    for size, image in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return data + b"".join(images)


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("Velmora.ico")
    target.write_bytes(ico([32, 16]))


if __name__ == "__main__":
    main()
