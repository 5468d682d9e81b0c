#!/usr/bin/env python3
"""Writes res/lumoff.ico, the program icon: a dark monitor with a red power symbol on a transparent ground.

The icon holds 16x16, 32x32 and 48x48 32-bit images (BMP with an AND mask). Each size has its own layout on its
pixel grid so that edges stay sharp at 16 pixels; round strokes are smoothed by sampling each pixel many times.
The output depends on nothing but this file, so running it twice gives the same bytes.

Usage: python3 tools/make_icon.py [output path]
"""

import math
import os
import struct
import sys

SAMPLES = 8  # sub-samples per pixel along each axis

BEZEL = (0xC0, 0xC0, 0xC0)
SCREEN = (0x14, 0x14, 0x14)
NECK = (0x80, 0x80, 0x80)
FOOT = (0xB0, 0xB0, 0xB0)
POWER = (0xFF, 0x00, 0x00)
GAP = math.radians(40)  # half the opening of the power ring, either side of straight up


def rounded_rect(x0, y0, x1, y1, radius):
    def covers(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius

    return covers


def segment(ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def covers(x, y):
        t = 0.0 if length2 == 0 else min(max(((x - ax) * dx + (y - ay) * dy) / length2, 0.0), 1.0)
        return (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= half_width * half_width

    return covers


def open_ring(cx, cy, radius, half_width):
    end_x = radius * math.sin(GAP)
    end_y = -radius * math.cos(GAP)

    def covers(x, y):
        dx, dy = x - cx, y - cy
        if abs(math.atan2(dx, -dy)) >= GAP:
            return abs(math.hypot(dx, dy) - radius) <= half_width
        return math.hypot(abs(dx) - end_x, dy - end_y) <= half_width  # round ends at the opening

    return covers


def either(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


# Per size: bezel, screen, neck, foot (x0, y0, x1, y1, corner radius), power centre, ring radius and stroke half
# width, and the bar's top, bottom and half width.
LAYOUTS = {
    16: dict(bezel=(0, 1, 16, 13, 1.0), screen=(1, 2, 15, 12, 0.0), neck=(7, 13, 9, 14, 0.0),
             foot=(4, 14, 12, 15, 0.0), centre=(8, 7.5), radius=3.6, half=0.75, bar=(3.0, 6.0, 1.0)),
    32: dict(bezel=(1, 3, 31, 25, 2.0), screen=(3, 5, 29, 23, 0.5), neck=(14, 25, 18, 28, 0.0),
             foot=(9, 28, 23, 30, 1.0), centre=(16, 14.3), radius=5.6, half=1.25, bar=(7.2, 13.2, 1.25)),
    48: dict(bezel=(2, 5, 46, 37, 3.0), screen=(5, 8, 43, 34, 1.0), neck=(21, 37, 27, 41, 0.0),
             foot=(14, 41, 34, 44, 1.5), centre=(24, 21.4), radius=8.2, half=1.7, bar=(11.0, 20.0, 1.7)),
}


def layers(size):
    layout = LAYOUTS[size]
    cx, cy = layout["centre"]
    top, bottom, bar_half = layout["bar"]
    return [
        (BEZEL, rounded_rect(*layout["bezel"])),
        (SCREEN, rounded_rect(*layout["screen"])),
        (NECK, rounded_rect(*layout["neck"])),
        (FOOT, rounded_rect(*layout["foot"])),
        (POWER, either(open_ring(cx, cy, layout["radius"], layout["half"]),
                       segment(cx, top, cx, bottom, bar_half))),
    ]


def render(size):
    """Returns rows (top first) of (r, g, b, a) pixels with straight alpha."""
    offsets = [(i + 0.5) / SAMPLES for i in range(SAMPLES)]
    total = SAMPLES * SAMPLES
    drawn = layers(size)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            # Premultiplied colour and alpha, painted layer over layer.
            r = g = b = a = 0.0
            for colour, covers in drawn:
                inside = sum(1 for oy in offsets for ox in offsets if covers(px + ox, py + oy))
                if inside == 0:
                    continue
                c = inside / total
                r = colour[0] * c + r * (1 - c)
                g = colour[1] * c + g * (1 - c)
                b = colour[2] * c + b * (1 - c)
                a = c + a * (1 - c)
            alpha = round(a * 255)
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a), alpha))
        rows.append(row)
    return rows


def icon_image(size):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, then the AND mask (set = transparent)."""
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = header[:20] + struct.pack("<I", len(colour) + len(mask)) + header[24:]
    return header + colour + bytes(mask)


def icon_file(sizes):
    images = [icon_image(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "res", "lumoff.ico")
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "wb") as f:
        f.write(icon_file([16, 32, 48]))
    print(path)


if __name__ == "__main__":
    main()
