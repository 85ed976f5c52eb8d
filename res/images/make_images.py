#!/usr/bin/env python3
"""Draws the editor's toolbar images (18 x 17) and the program icon (32 x 32)
as XPM files. XPM is C source, so the Qt adapter includes the files directly
and needs no resource compiler.

Run from anywhere; the files are written next to this script:
    python3 res/images/make_images.py
"""

import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[None] * w for _ in range(h)]

    def put(self, x, y, c):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.put(x, y0, c)
            self.put(x, y1, c)
        for y in range(y0, y1 + 1):
            self.put(x0, y, c)
            self.put(x1, y, c)

    def line(self, x0, y0, x1, y1, c):
        n = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        for i in range(n + 1):
            t = i / n
            self.put(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, c)

    def fill(self, inside, c):
        for y in range(self.h):
            for x in range(self.w):
                if inside(x + 0.5, y + 0.5):
                    self.px[y][x] = c

    def glyph(self, x0, y0, rows, c):
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch == "#":
                    self.put(x0 + dx, y0 + dy, c)

    def xpm(self, name, colours):
        keys = {None: " "}
        symbols = iter(".#+@$%&*=-;:>,<1234567890abcdefghijklmnopqrstuvwxyz")
        used = []
        for row in self.px:
            for c in row:
                if c not in keys:
                    keys[c] = next(symbols)
                    used.append(c)
        lines = [f'"{self.w} {self.h} {len(used) + 1} 1",', '"  c None",']
        for c in used:
            lines.append(f'"{keys[c]} c {colours[c]}",')
        for i, row in enumerate(self.px):
            end = "," if i < self.h - 1 else ""
            lines.append('"' + "".join(keys[c] for c in row) + '"' + end)
        body = "\n".join(lines)
        return (f"/* XPM */\n/* Drawn by make_images.py; edit the script, not this file. */\n"
                f"static const char* const {name}_xpm[] = {{\n{body}}};\n")


COLOURS = {
    "black": "#000000",
    "white": "#FFFFFF",
    "grey": "#808080",
    "light": "#C0C0C0",
    "silver": "#E4E4E4",
    "yellow": "#F8D860",
    "amber": "#C89020",
    "navy": "#1C3C8C",
    "blue": "#2860D0",
    "sky": "#7CB4F0",
    "red": "#D02020",
    "green": "#208040",
    "dish": "#F0F0F0",
    "dishshade": "#B8C0C8",
    "rim": "#505860",
}


def new_image():
    c = Canvas(18, 17)
    # A blank sheet with its top right corner folded over.
    c.fill(lambda x, y: 3 < x < 15 and 0 < y < 17 and (x - 10) < y, "white")
    c.line(3, 0, 10, 0, "black")
    c.line(3, 0, 3, 16, "black")
    c.line(3, 16, 14, 16, "black")
    c.line(14, 4, 14, 16, "black")
    c.line(10, 0, 14, 4, "black")
    c.fill(lambda x, y: 10 < x < 14 and y < 4 and y > x - 10, "light")
    c.line(10, 0, 10, 4, "black")
    c.line(10, 4, 14, 4, "black")
    # A small spark: the sheet is new.
    c.line(7, 7, 7, 13, "amber")
    c.line(4, 10, 10, 10, "amber")
    for dx, dy in ((-1, -1), (1, -1), (-1, 1), (1, 1)):
        c.put(7 + dx, 10 + dy, "yellow")
    return c


def open_image():
    c = Canvas(18, 17)
    # The back of a folder with its tab...
    c.rect(1, 4, 12, 14, "amber")
    c.frame(1, 4, 12, 14, "black")
    c.rect(2, 3, 6, 3, "amber")
    c.line(2, 2, 6, 2, "black")
    c.put(1, 3, "black")
    c.put(7, 3, "black")
    # ...and its front flap, opened towards the viewer.
    def in_flap(x, y):
        if not 7 < y < 15:
            return False
        t = (y - 7) / 8
        return 5 - 4 * t < x < 17 - 4 * t
    c.fill(in_flap, "yellow")
    c.line(5, 7, 16, 7, "black")
    c.line(16, 7, 13, 14, "black")
    c.line(5, 7, 2, 14, "black")
    c.line(1, 14, 13, 14, "black")
    return c


def make_image():
    c = Canvas(18, 17)
    # A diskette: the file that goes to the receiver.
    c.rect(2, 1, 15, 15, "navy")
    c.frame(1, 0, 16, 16, "black")
    c.rect(4, 1, 13, 7, "white")
    c.line(5, 3, 12, 3, "light")
    c.line(5, 5, 12, 5, "light")
    c.rect(5, 10, 12, 15, "light")
    c.rect(6, 11, 7, 14, "navy")
    c.put(16, 0, None)
    c.put(15, 1, "black")
    return c


def sort_image():
    c = Canvas(18, 17)
    a = ["..#..", ".#.#.", "#...#", "#####", "#...#", "#...#"]
    z = ["#####", "....#", "...#.", "..#..", ".#...", "#####"]
    c.glyph(1, 1, a, "blue")
    c.glyph(1, 10, z, "navy")
    # A downward arrow: from A to Z.
    c.rect(11, 1, 12, 12, "black")
    for i in range(4):
        c.line(8 + i, 11 + i, 15 - i, 11 + i, "black")
    return c


def icon_image():
    c = Canvas(32, 32)
    # The dish: a paraboloid seen from the front left, as an ellipse tilted
    # back by 35 degrees, lit from the upper right.
    cx, cy, rx, ry = 12.0, 15.0, 8.0, 12.0
    ang = math.radians(-35)

    def local(x, y):
        dx, dy = x - cx, y - cy
        return (dx * math.cos(ang) - dy * math.sin(ang),
                dx * math.sin(ang) + dy * math.cos(ang))

    def in_dish(x, y, shrink=0.0):
        u, v = local(x, y)
        return (u / (rx - shrink)) ** 2 + (v / (ry - shrink)) ** 2 <= 1.0

    c.fill(lambda x, y: in_dish(x, y), "rim")
    c.fill(lambda x, y: in_dish(x, y, 1.2), "dish")
    c.fill(lambda x, y: in_dish(x, y, 1.2) and local(x, y)[0] < -2.0, "dishshade")
    # The stand: a post and a foot.
    c.rect(11, 24, 13, 28, "grey")
    c.rect(12, 24, 12, 28, "light")
    c.rect(6, 29, 18, 30, "rim")
    c.rect(7, 29, 17, 29, "grey")
    # The arm from the dish's centre to the receiving head (LNB).
    c.line(12, 15, 22, 10, "rim")
    c.line(12, 16, 22, 11, "grey")
    c.rect(21, 8, 24, 12, "navy")
    c.rect(22, 9, 23, 10, "blue")
    # The signal arriving from the satellite.
    for r, colour in ((3.5, "sky"), (5.5, "blue"), (7.5, "navy")):
        for i in range(40):
            t = math.radians(-85 + 75 * i / 39)
            c.put(23 + r * math.cos(t), 10 + r * math.sin(t), colour)
    return c


def main():
    for name, image in (("tb_new", new_image()), ("tb_open", open_image()),
                        ("tb_make", make_image()), ("tb_sort", sort_image()),
                        ("velmora", icon_image())):
        with open(os.path.join(HERE, name + ".xpm"), "w", encoding="ascii") as f:
            f.write(image.xpm(name, COLOURS))


if __name__ == "__main__":
    main()
