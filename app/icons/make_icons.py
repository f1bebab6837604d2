#!/usr/bin/env python3
"""Draws the program's icon: the six boxes of the main window on a grey panel.

Writes, next to this script and using the standard library only:
- tandrel-32.png: 32 x 32 pixels in a 16-colour palette, transparent outside
  the panel; the program shows it in its own window;
- tandrel.ico: the same 16-colour picture as a Windows icon, the program's
  MAINICON on Windows;
- tandrel-<size>.png for the other sizes desktops ask for: smooth renderings
  of the same picture, with partly covered pixels blended;
- tandrel.svg: the same picture, scalable.
Run it again after changing the picture.
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
SMOOTH_SIZES = (16, 22, 24, 48, 64, 128, 256)

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


def outlined_squares():
    """The picture, back to front: (left, top, width, height, fill, outline)
    on the 32-unit grid, each with a one-unit outline inside its edge."""
    yield (0, PANEL_TOP, SIZE, PANEL_HEIGHT, FACE, BORDER)
    for (left, top), fill in zip(box_origins(), BOX_FILLS):
        yield (left, top, BOX, BOX, fill, BLACK)


def filled_rects():
    """The picture as plain filled rectangles, back to front: each outlined
    square is its outline colour over its whole area, then its fill inside."""
    for left, top, width, height, fill, outline in outlined_squares():
        yield (left, top, width, height, outline)
        yield (left + 1, top + 1, width - 2, height - 2, fill)


def draw_palette_pixels():
    pixels = [[TRANSPARENT] * SIZE for _ in range(SIZE)]
    for left, top, width, height, colour in filled_rects():
        for y in range(top, top + height):
            for x in range(left, left + width):
                pixels[y][x] = colour
    return pixels


def overlap(low, high, pixel):
    """How much of the unit span [pixel, pixel + 1] lies within [low, high]."""
    return max(0.0, min(high, pixel + 1) - max(low, pixel))


def draw_smooth_pixels(size):
    """Renders the picture at size x size as premultiplied RGBA floats, each
    rectangle laid over what lies below by the share of each pixel it covers."""
    scale = size / SIZE
    pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    for left, top, width, height, colour in filled_rects():
        x0, x1 = left * scale, (left + width) * scale
        y0, y1 = top * scale, (top + height) * scale
        red, green, blue = (c / 255 for c in PALETTE[colour])
        for y in range(int(y0), min(size, int(y1) + 1)):
            row_cover = overlap(y0, y1, y)
            for x in range(int(x0), min(size, int(x1) + 1)):
                cover = row_cover * overlap(x0, x1, x)
                if cover <= 0:
                    continue
                r, g, b, a = pixels[y][x]
                keep = 1 - cover
                pixels[y][x] = (red * cover + r * keep, green * cover + g * keep,
                                blue * cover + b * keep, cover + a * keep)
    return pixels


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png_bytes(width, header_tail, rows, extra_chunks=b""):
    header = struct.pack(">II", width, width) + header_tail
    data = b"".join(b"\x00" + row for row in rows)  # filter type 0 for every row
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + extra_chunks +
            png_chunk(b"IDAT", zlib.compress(data, 9)) + png_chunk(b"IEND", b""))


def write_palette_png(path, pixels):
    rows = [bytes((row[x] << 4) | row[x + 1] for x in range(0, SIZE, 2)) for row in pixels]
    palette = b"".join(bytes(colour) for colour in PALETTE)
    alpha = bytes([0])  # only entry 0 is transparent
    tail = struct.pack(">BBBBB", 4, 3, 0, 0, 0)  # 4-bit palette
    path.write_bytes(png_bytes(SIZE, tail, rows,
                               png_chunk(b"PLTE", palette) + png_chunk(b"tRNS", alpha)))


def to_byte(value):
    return max(0, min(255, round(value * 255)))


def write_rgba_png(path, pixels):
    rows = []
    for row in pixels:
        packed = bytearray()
        for r, g, b, a in row:
            # Back from premultiplied colour to the straight colour PNG stores.
            unmix = 1 / a if a > 0 else 0
            packed += bytes((to_byte(r * unmix), to_byte(g * unmix), to_byte(b * unmix),
                             to_byte(a)))
        rows.append(bytes(packed))
    tail = struct.pack(">BBBBB", 8, 6, 0, 0, 0)  # 8-bit RGBA
    path.write_bytes(png_bytes(len(pixels), tail, rows))


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
        f'<rect x="{left + 0.5}" y="{top + 0.5}" width="{width - 1}" height="{height - 1}" '
        f'fill="{hex_colour(fill)}" stroke="{hex_colour(outline)}"/>'
        for left, top, width, height, fill, outline in outlined_squares()
    ]
    body = "\n  ".join(shapes)
    path.write_text('<?xml version="1.0" encoding="UTF-8"?>\n'
                    f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
                    f'viewBox="0 0 {SIZE} {SIZE}">\n  <title>Corvanelle Tandrel</title>\n'
                    f'  {body}\n</svg>\n')


def main():
    here = pathlib.Path(__file__).resolve().parent
    write_palette_png(here / "tandrel-32.png", draw_palette_pixels())
    write_ico(here / "tandrel.ico", draw_palette_pixels())
    for size in SMOOTH_SIZES:
        write_rgba_png(here / f"tandrel-{size}.png", draw_smooth_pixels(size))
    write_svg(here / "tandrel.svg")


if __name__ == "__main__":
    main()
