#!/usr/bin/env python3
"""Turns the editor's XPM images (res/images) into what a Windows resource
file takes: the program icon as an .ico (32 and 16 pixels) and the toolbar
images as one bitmap strip, magenta where the image is transparent.

    make_resources.py IMAGES_DIR OUT_DIR
"""

import os
import re
import struct
import sys

TOOLBAR = ["tb_new", "tb_open", "tb_make", "tb_sort"]  # in the toolbar's order
MAGENTA = (255, 0, 255)


def read_xpm(path):
    text = open(path, encoding="latin-1").read()
    rows = re.findall(r'"([^"]*)"', text)
    w, h, ncolors, cpp = (int(v) for v in rows[0].split()[:4])
    colours = {}
    for line in rows[1:1 + ncolors]:
        key, fields = line[:cpp], line[cpp:].split()
        value = fields[fields.index("c") + 1]
        colours[key] = None if value.lower() == "none" else (
            int(value[1:3], 16), int(value[3:5], 16), int(value[5:7], 16))
    pixels = [[colours[row[x * cpp:(x + 1) * cpp]] for x in range(w)]
              for row in rows[1 + ncolors:1 + ncolors + h]]
    return w, h, pixels


def bmp_24(w, h, pixels):
    stride = (w * 3 + 3) & ~3
    body = b""
    for row in reversed(pixels):
        line = b"".join(bytes((p or MAGENTA)[::-1]) for p in row)
        body += line + b"\0" * (stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(body), 0, 0, 54) + header + body


def icon_image(w, h, pixels):
    """A 32-bit icon image (BITMAPINFOHEADER, colour with alpha, AND mask)."""
    colour = b""
    for row in reversed(pixels):
        colour += b"".join(bytes(p[::-1]) + b"\xff" if p else b"\0\0\0\0" for p in row)
    mask_stride = ((w + 31) // 32) * 4
    mask = b""
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def scaled(w, h, pixels, size):
    return [[pixels[y * h // size][x * w // size] for x in range(size)] for y in range(size)]


def main():
    images, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)

    w, h, pixels = read_xpm(os.path.join(images, "velmora.xpm"))
    entries = [(size, icon_image(size, size, scaled(w, h, pixels, size))) for size in (32, 16)]
    ico = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, data in entries:
        ico += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    ico += b"".join(data for _, data in entries)
    open(os.path.join(out, "velmora.ico"), "wb").write(ico)

    strip = None
    for name in TOOLBAR:
        tw, th, tp = read_xpm(os.path.join(images, name + ".xpm"))
        strip = tp if strip is None else [a + b for a, b in zip(strip, tp)]
    open(os.path.join(out, "toolbar.bmp"), "wb").write(bmp_24(len(strip[0]), len(strip), strip))


if __name__ == "__main__":
    main()
