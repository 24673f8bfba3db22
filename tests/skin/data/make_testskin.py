#!/usr/bin/env python3
"""Writes the small test skin's bitmaps into testskin/ (run once; the files are committed)."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "testskin")


def bmp(path, width, height, bits, pixel):
    """pixel(x, y) -> 0xRRGGBB, y = 0 is the top row; palettes are built from the pixels."""
    rows = [[pixel(x, y) for x in range(width)] for y in range(height)]
    palette = []
    if bits <= 8:
        palette = sorted({c for row in rows for c in row})
        assert len(palette) <= 1 << bits
    stride = (width * bits + 31) // 32 * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, c in enumerate(row):
            if bits == 24:
                line[3 * x:3 * x + 3] = bytes((c & 255, c >> 8 & 255, c >> 16 & 255))
            else:
                i = palette.index(c)
                per = 8 // bits
                line[x // per] |= i << (8 - bits * (x % per + 1))
        data += line
    off = 14 + 40 + 4 * len(palette)
    head = b"BM" + struct.pack("<IHHI", off + len(data), 0, 0, off)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                       len(palette), 0)
    pal = b"".join(struct.pack("<I", c) for c in palette)
    with open(os.path.join(HERE, path), "wb") as f:
        f.write(head + info + pal + data)


os.makedirs(HERE, exist_ok=True)
bmp("main.bmp", 64, 48, 8, lambda x, y: 0x204080 if x < 4 or y < 20 or x >= 60 or y >= 44
    else 0xC0C0C0 if (x + y) % 2 else 0xB0B0B0)
bmp("mask.bmp", 64, 48, 1, lambda x, y: 0xFFFFFF if (x < 2 and y < 2) else 0x000000)
bmp("buttons.bmp", 48, 16, 8, lambda x, y: [0x808080, 0xD2BDB6, 0xB59385][x // 16] + (y % 3))
bmp("caption.bmp", 20, 10, 24, lambda x, y: (x * 12) << 16 | (y * 25) << 8 | 0x40)
bmp("glyphs.bmp", 8, 8, 4, lambda x, y: [0x000000, 0xFF0000, 0x00FF00, 0x0000FF][(x + y) % 4])
