#!/usr/bin/env python3
"""Writes the editor's marker bitmaps and its NES master palette into a Data folder.

    python3 demo/make_data_files.py [DATA-DIR]      (default: the repository's Data/)

numbers.bmp       128x8 strip of the hexadecimal digits 0-F, digit d in columns 8d..8d+7
blankenemy.bmp    16x16 enemy marker (red box)
blankspecobj.bmp  16x16 special-object marker (blue box)
Palettes/quillborn.pal  64 colours, red-green-blue, computed from a model of the NES
                  composite video signal rather than taken from any existing table.

The bitmaps are plain uncompressed 24-bit Windows BMP files. The output is the same on every run.
"""

import math
import os
import struct
import sys

# 5x7 glyphs of the hexadecimal digits, one row per entry, bit 4 = leftmost column.
GLYPHS = {
    "0": [0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E],
    "1": [0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E],
    "2": [0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F],
    "3": [0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E],
    "4": [0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02],
    "5": [0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E],
    "6": [0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E],
    "7": [0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08],
    "8": [0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E],
    "9": [0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C],
    "A": [0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11],
    "B": [0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E],
    "C": [0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E],
    "D": [0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C],
    "E": [0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F],
    "F": [0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10],
}


def write_bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b), y = 0 at the top. Rows are stored bottom-up, padded to 4 bytes."""
    row_size = (width * 3 + 3) & ~3
    image = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        image += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + image)


def numbers_pixel(x, y):
    background, ink = (0x18, 0x18, 0x28), (0xF8, 0xF8, 0xF0)
    digit = "0123456789ABCDEF"[x // 8]
    col, row = x % 8 - 1, y
    if 0 <= col < 5 and 0 <= row < 7 and GLYPHS[digit][row] & (0x10 >> col):
        return ink
    return background


def marker(edge, face, light):
    def pixel(x, y):
        if x in (0, 15) or y in (0, 15):
            return edge
        if x == 1 or y == 1:
            return light
        if x == 14 or y == 14:
            return edge
        return face
    return pixel


def nes_palette():
    """Decodes the NES picture signal: each colour is a square wave between two voltage levels,
    high for six of twelve phases; averaging it against the colour carrier gives Y, I and Q."""
    low = (0.350, 0.518, 0.962, 1.550)
    high = (1.094, 1.506, 1.962, 1.962)
    black, white = 0.518, 1.962
    hue_shift = 135.0  # degrees; the decoder's tint setting
    saturation = 1.7
    colours = []
    for lum in range(4):
        for hue in range(16):
            if hue >= 14:
                colours.append((0, 0, 0))
                continue
            y = i = q = 0.0
            for phase in range(12):
                if hue == 0:
                    level = high[lum]
                elif hue == 13:
                    level = low[lum]
                else:
                    level = high[lum] if (hue + phase) % 12 < 6 else low[lum]
                v = (level - black) / (white - black)
                angle = math.radians(phase * 30.0 + hue_shift)
                y += v
                i += v * math.cos(angle)
                q += v * math.sin(angle)
            y /= 12.0
            i = i / 12.0 * saturation
            q = q / 12.0 * saturation
            r = y + 0.956 * i + 0.621 * q
            g = y - 0.272 * i - 0.647 * q
            b = y - 1.106 * i + 1.703 * q

            def to_byte(c):
                c = max(0.0, min(1.0, c))
                return int(round(255 * c ** (1 / 1.1)))

            colours.append((to_byte(r), to_byte(g), to_byte(b)))
    return colours


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    data = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "Data")
    os.makedirs(os.path.join(data, "Palettes"), exist_ok=True)
    write_bmp(os.path.join(data, "numbers.bmp"), 128, 8, numbers_pixel)
    write_bmp(os.path.join(data, "blankenemy.bmp"), 16, 16, marker((0x50, 0x00, 0x00), (0xC8, 0x28, 0x20), (0xF8, 0x88, 0x70)))
    write_bmp(os.path.join(data, "blankspecobj.bmp"), 16, 16, marker((0x00, 0x18, 0x58), (0x20, 0x58, 0xD0), (0x80, 0xB8, 0xF8)))
    with open(os.path.join(data, "Palettes", "quillborn.pal"), "wb") as f:
        for r, g, b in nes_palette():
            f.write(bytes((r, g, b)))


if __name__ == "__main__":
    main()
