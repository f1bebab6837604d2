#!/usr/bin/env python3
"""Draws the program's icon: the six boxes of the main window on a grey panel.

Writes tandrel-32.png (32 x 32, a 16-colour palette, transparent outside the
panel), tandrel.ico (the same picture as a Windows icon, the program's MAINICON)
and tandrel.svg (the same picture, scalable) next to this script, using the
standard library only. Run it again after changing the picture.
"""
import pathlib
import struct
import zlib

SIZE = 32
MARGIN = 2
BOX = 8
GAP = 2
PANEL_TOP = 5
PANEL_HEIGHT = MARGIN + BOX + GAP + BOX + MARGIN

# Index 0 is transparent. Sixteen entries, as the icon format asks.
PALETTE = [
    (0, 0, 0),        # 0 transparent
    (0, 0, 0),        # 1 black: outlines and the fifth box
    (128, 128, 128),  # 2 dark grey: panel border
    (192, 192, 192),  # 3 silver: panel face
    (255, 255, 0),    # 4 yellow
    (255, 0, 0),      # 5 red
    (0, 128, 0),      # 6 green
    (0, 0, 255),      # 7 blue
    (255, 255, 255),  # 8 white
    (128, 0, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (0, 255, 0), (255, 0, 255),
]
TRANSPARENT, BLACK, BORDER, FACE = 0, 1, 2, 3
# Reading order: top row left to right, then the bottom row.
BOX_FILLS = [4, 5, 6, 7, 1, 8]


def box_origins():
    for n in range(6):
        row, column = divmod(n, 3)
        yield (MARGIN + column * (BOX + GAP), PANEL_TOP + MARGIN + row * (BOX + GAP))


def draw_pixels():
    pixels = [[TRANSPARENT] * SIZE for _ in range(SIZE)]
    for y in range(PANEL_TOP, PANEL_TOP + PANEL_HEIGHT):
        for x in range(SIZE):
            edge = y in (PANEL_TOP, PANEL_TOP + PANEL_HEIGHT - 1) or x in (0, SIZE - 1)
            pixels[y][x] = BORDER if edge else FACE
    for (left, top), fill in zip(box_origins(), BOX_FILLS):
        for y in range(top, top + BOX):
            for x in range(left, left + BOX):
                outline = y in (top, top + BOX - 1) or x in (left, left + BOX - 1)
                pixels[y][x] = BLACK if outline else fill
    return pixels


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def write_png(path, pixels):
    rows = b""
    for row in pixels:
        packed = bytes((row[x] << 4) | row[x + 1] for x in range(0, SIZE, 2))
        rows += b"\x00" + packed  # filter type 0 for every row
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 4, 3, 0, 0, 0)  # 4-bit palette
    palette = b"".join(bytes(colour) for colour in PALETTE)
    alpha = bytes([0])  # only entry 0 is transparent
    path.write_bytes(b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
                     png_chunk(b"PLTE", palette) + png_chunk(b"tRNS", alpha) +
                     png_chunk(b"IDAT", zlib.compress(rows, 9)) + png_chunk(b"IEND", b""))


def write_ico(path, pixels):
    """A Windows icon of one 16-colour bitmap: the colour rows, then the
    transparency mask, both from the bottom row up."""
    colour_rows = b"".join(
        bytes((row[x] << 4) | row[x + 1] for x in range(0, SIZE, 2)) for row in reversed(pixels))
    mask_rows = b""
    for row in reversed(pixels):
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if row[x] == TRANSPARENT else 0)
        mask_rows += struct.pack(">I", bits)  # 32 pixels: one whole 4-byte row
    palette = b"".join(bytes((blue, green, red, 0)) for red, green, blue in PALETTE)
    # Height counts the colour rows and the mask rows together.
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                       len(colour_rows) + len(mask_rows), 0, 0, 16, 0)
    image = info + palette + colour_rows + mask_rows
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    path.write_bytes(header + entry + image)


def hex_colour(index):
    return "#%02x%02x%02x" % PALETTE[index]


def write_svg(path):
    # Pixel edges sit on whole units; the strokes are drawn half a unit in.
    shapes = [
        f'<rect x="0.5" y="{PANEL_TOP + 0.5}" width="{SIZE - 1}" height="{PANEL_HEIGHT - 1}" '
        f'fill="{hex_colour(FACE)}" stroke="{hex_colour(BORDER)}"/>'
    ]
    for (left, top), fill in zip(box_origins(), BOX_FILLS):
        shapes.append(f'<rect x="{left + 0.5}" y="{top + 0.5}" width="{BOX - 1}" height="{BOX - 1}" '
                      f'fill="{hex_colour(fill)}" stroke="{hex_colour(BLACK)}"/>')
    body = "\n  ".join(shapes)
    path.write_text('<?xml version="1.0" encoding="UTF-8"?>\n'
                    f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
                    f'viewBox="0 0 {SIZE} {SIZE}">\n  <title>Corvanelle Tandrel</title>\n'
                    f'  {body}\n</svg>\n')


def main():
    here = pathlib.Path(__file__).resolve().parent
    write_png(here / "tandrel-32.png", draw_pixels())
    write_ico(here / "tandrel.ico", draw_pixels())
    write_svg(here / "tandrel.svg")


if __name__ == "__main__":
    main()
