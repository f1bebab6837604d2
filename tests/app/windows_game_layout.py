"""Reads a picture of the main window (binary PPM on stdin) and prints the
height of the menu bar: the rows above the form's client area.

The BOX3 label's text is the first dark thing in its column (client x 168 to
196, right of every menu title); its middle is the middle of the label, at
client y 32 + 13 / 2."""
import sys

LABEL_LEFT, LABEL_RIGHT, LABEL_MIDDLE, LABEL_HEIGHT = 168, 196, 38, 13


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


def dark_rows(width, height, pixels):
    for y in range(height):
        for x in range(LABEL_LEFT, min(LABEL_RIGHT, width)):
            red, green, blue = pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]
            if red + green + blue < 200:
                yield y
                break


def main():
    width, height, pixels = read_ppm(sys.stdin.buffer.read())
    rows = list(dark_rows(width, height, pixels))
    if not rows:
        return 1
    text = [y for y in rows if y < rows[0] + LABEL_HEIGHT]
    print((text[0] + text[-1]) // 2 - LABEL_MIDDLE)
    return 0


sys.exit(main())
