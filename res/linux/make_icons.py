#!/usr/bin/env python3
"""Makes the program icon for Linux desktops from the editor's own image
(res/images/velmora.xpm): PNG files of the hicolor theme at every usual size
and a scalable SVG, laid out as they are installed under share/icons.

    make_icons.py VELMORA_XPM OUT_DIR

The 32-pixel image is drawn on a grid, so the larger sizes keep its pixels
square and sharp; the smaller ones average the pixels they cover.
"""

import os
import re
import struct
import sys
import zlib

SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
NAME = "velmora"


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


def scaled(w, h, pixels, size, samples=4):
    """RGBA rows of a size x size image: each target pixel averages a grid
    of samples x samples points of the source, weighted by their alpha."""
    out = []
    for ty in range(size):
        row = []
        for tx in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = int((tx + (sx + 0.5) / samples) * w / size)
                    y = int((ty + (sy + 0.5) / samples) * h / size)
                    p = pixels[y][x]
                    if p is not None:
                        r, g, b, a = r + p[0], g + p[1], b + p[2], a + 1
            n = samples * samples
            row.append((r // a, g // a, b // a, 255 * a // n) if a else (0, 0, 0, 0))
        out.append(row)
    return out


def png(rows):
    h, w = len(rows), len(rows[0])
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def svg(w, h, pixels):
    """One rectangle per run of equal pixels in a row."""
    rects = []
    for y, row in enumerate(pixels):
        x = 0
        while x < w:
            p, end = row[x], x + 1
            while end < w and row[end] == p:
                end += 1
            if p is not None:
                rects.append(f'<rect x="{x}" y="{y}" width="{end - x}" height="1" '
                             f'fill="#{p[0]:02x}{p[1]:02x}{p[2]:02x}"/>')
            x = end
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w * 8}" height="{h * 8}" '
            f'viewBox="0 0 {w} {h}" shape-rendering="crispEdges">\n' + "\n".join(rects) +
            "\n</svg>\n")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    xpm, out = sys.argv[1], sys.argv[2]
    w, h, pixels = read_xpm(xpm)
    for size in SIZES:
        write(os.path.join(out, "hicolor", f"{size}x{size}", "apps", NAME + ".png"),
              png(scaled(w, h, pixels, size)))
    write(os.path.join(out, "hicolor", "scalable", "apps", NAME + ".svg"),
          svg(w, h, pixels).encode())


if __name__ == "__main__":
    main()
