"""Reads a picture of the main window (binary PPM on stdin) and prints the
height of the menu bar: the rows above the form's client area.

The BOX3 label's text is the first dark thing in its column (client x 168 to
196, right of every menu title); its middle is the middle of the label, at
client y 32 + 13 / 2.

Fails too when that text is wider than "BOX3" in the 8-point face of the
window font, MS Sans Serif (27 pixels; 32 in the 10-point face)."""
import sys

LABEL_LEFT, LABEL_RIGHT, LABEL_MIDDLE, LABEL_HEIGHT = 168, 196, 38, 13
TEXT_MAX_WIDTH = 28


def read_ppm(data):
    fields, position = [], 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[position + 1:]


def is_dark(pixels, offset):
    return sum(pixels[offset:offset + 3]) < 200


def dark_rows(width, height, pixels):
    for y in range(height):
        for x in range(LABEL_LEFT, min(LABEL_RIGHT, width)):
            if is_dark(pixels, (y * width + x) * 3):
                yield y
                break


# The width of the dark run in the given rows that reaches into the label's
# column, wherever the label's centred text starts and ends.
def text_width(width, rows, pixels):
    columns = [x for x in range(max(LABEL_LEFT - 20, 0), min(LABEL_RIGHT + 20, width))
               if any(is_dark(pixels, (y * width + x) * 3) for y in rows)]
    return columns[-1] - columns[0] + 1


def main():
    width, height, pixels = read_ppm(sys.stdin.buffer.read())
    rows = list(dark_rows(width, height, pixels))
    if not rows:
        return 1
    text = [y for y in rows if y < rows[0] + LABEL_HEIGHT]
    text_wide = text_width(width, text, pixels)
    if text_wide > TEXT_MAX_WIDTH:
        print(f"BOX3 is {text_wide} pixels wide, not in the 8-point face", file=sys.stderr)
        return 2
    print((text[0] + text[-1]) // 2 - LABEL_MIDDLE)
    return 0


sys.exit(main())
