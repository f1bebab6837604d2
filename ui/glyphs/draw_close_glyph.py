#!/usr/bin/env python3
"""Draws close.png, the glyph of the about window's Close button.

An 18 x 18 picture in the 16 colours of the classic VGA palette, written as a
4-bit palette PNG with no other dependency than the standard library. Magenta
is the transparent colour. Run it from any folder; it writes next to itself.
"""
import pathlib
import struct
import zlib

SIZE = 18
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
MAROON, RED, MAGENTA = 1, 9, 13


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return ((px - ax - t * dx) ** 2 + (py - ay - t * dy) ** 2) ** 0.5


def colour_at(x, y):
    # Two crossing strokes: a red core inside a maroon rim.
    cx, cy = x + 0.5, y + 0.5
    nearest = min(distance_to_segment(cx, cy, 4.5, 4.5, 13.5, 13.5),
                  distance_to_segment(cx, cy, 13.5, 4.5, 4.5, 13.5))
    if nearest < 1.3:
        return RED
    if nearest < 2.4:
        return MAROON
    return MAGENTA


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png_bytes():
    rows = bytearray()
    for y in range(SIZE):
        rows.append(0)  # no filter
        pixels = [colour_at(x, y) for x in range(SIZE)]
        for left, right in zip(pixels[0::2], pixels[1::2]):
            rows.append(left << 4 | right)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 4, 3, 0, 0, 0)
    palette = b"".join(bytes(rgb) for rgb in PALETTE)
    alpha = bytes(0 if index == MAGENTA else 255 for index in range(len(PALETTE)))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"PLTE", palette)
            + chunk(b"tRNS", alpha) + chunk(b"IDAT", zlib.compress(bytes(rows), 9))
            + chunk(b"IEND", b""))


if __name__ == "__main__":
    target = pathlib.Path(__file__).with_name("close.png")
    target.write_bytes(png_bytes())
    print(f"wrote {target}")
