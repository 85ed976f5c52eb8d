#!/usr/bin/env python3
"""Turns the editor's XPM images (res/images) into what a Windows resource
file takes: the program icon as an .ico with an image for every size
Windows asks for at the usual scalings (16 to 48 pixels, and 256 for large
views of the desktop), and the toolbar images as bitmap strips, one per
scaling, magenta where the image is transparent.

    make_resources.py IMAGES_DIR OUT_DIR

The icon's images are made as those of the Linux desktop are (res/linux/
make_icons.py): the smaller sizes average the pixels they cover, the
larger keep the drawing's pixels square. The toolbar images keep their
pixels whole (the nearest one), so their lines stay crisp.
"""

import os
import re
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "res", "linux"))
from make_icons import png, scaled  # noqa: E402  (the Linux icons' scaling)

TOOLBAR = ["tb_new", "tb_open", "tb_make", "tb_sort"]  # in the toolbar's order
# The toolbar's scalings in percent; velmora.rc binds one strip of each.
TOOLBAR_SCALES = (100, 125, 150, 175, 200, 250, 300)
ICON_SIZES = (16, 20, 24, 32, 48, 256)
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


def icon_image(rows):
    """A 32-bit icon image (BITMAPINFOHEADER, colour with alpha, AND mask)
    of RGBA rows."""
    h, w = len(rows), len(rows[0])
    colour = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(rows) for p in row)
    mask_stride = ((w + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def ico(w, h, pixels):
    """Every size; the largest as PNG, as Windows keeps it."""
    entries = []
    for size in ICON_SIZES:
        rows = scaled(w, h, pixels, size)
        entries.append((size, png(rows) if size >= 256 else icon_image(rows)))
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, data in entries:
        side = size if size < 256 else 0  # 0 stands for 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in entries)


def nearest(w, h, pixels, tw, th):
    return [[pixels[y * h // th][x * w // tw] for x in range(tw)] for y in range(th)]


def toolbar_strip(images, percent):
    strip = None
    for w, h, pixels in images:
        tw, th = (w * percent + 50) // 100, (h * percent + 50) // 100
        image = nearest(w, h, pixels, tw, th)
        strip = image if strip is None else [a + b for a, b in zip(strip, image)]
    return bmp_24(len(strip[0]), len(strip), strip)


def main():
    images, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)

    w, h, pixels = read_xpm(os.path.join(images, "velmora.xpm"))
    open(os.path.join(out, "velmora.ico"), "wb").write(ico(w, h, pixels))

    strip = [read_xpm(os.path.join(images, name + ".xpm")) for name in TOOLBAR]
    for percent in TOOLBAR_SCALES:
        name = "toolbar.bmp" if percent == 100 else f"toolbar_{percent}.bmp"
        open(os.path.join(out, name), "wb").write(toolbar_strip(strip, percent))


if __name__ == "__main__":
    main()
