#!/usr/bin/env python3
"""Turns a 24-bit BMP (as the end-to-end driver saves its screenshots) into a small PNG.

    tools/bmp_to_png.py IN.bmp OUT.png

A picture of at most 256 colours (the program's windows are) becomes an 8-bit palette PNG; any other a 24-bit one.
Standard library only.
"""
import struct
import sys
import zlib


def read_bmp(path):
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        raise SystemExit(f"{path}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _planes, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24:
        raise SystemExit(f"{path}: {bits}-bit BMP, expected 24-bit")
    top_down = height < 0
    height = abs(height)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height):
        start = offset + (y if top_down else height - 1 - y) * stride
        bgr = data[start:start + width * 3]
        rows.append([(bgr[i + 2], bgr[i + 1], bgr[i]) for i in range(0, width * 3, 3)])
    return width, height, rows


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def write_png(path, width, height, rows):
    colours = sorted({pixel for row in rows for pixel in row})
    if len(colours) <= 256:
        index = {colour: i for i, colour in enumerate(colours)}
        bits = 8 if len(colours) > 16 else 4 if len(colours) > 4 else 2 if len(colours) > 2 else 1
        raw = bytearray()
        for row in rows:
            raw.append(0)
            values = [index[p] for p in row]
            per_byte = 8 // bits
            for i in range(0, width, per_byte):
                byte = 0
                for j, v in enumerate(values[i:i + per_byte]):
                    byte |= v << (8 - bits * (j + 1))
                raw.append(byte)
        header = struct.pack(">IIBBBBB", width, height, bits, 3, 0, 0, 0)
        extra = chunk(b"PLTE", b"".join(bytes(c) for c in colours))
    else:
        raw = bytearray()
        for row in rows:
            raw.append(0)
            for p in row:
                raw.extend(p)
        header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
        extra = b""
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    open(path, "wb").write(png)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    write_png(sys.argv[2], *read_bmp(sys.argv[1]))


if __name__ == "__main__":
    main()
