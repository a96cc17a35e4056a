#!/usr/bin/env python3
"""Draws the Quendal icon (a young planet with a ring and a rising growth curve) as PNG files.

Usage: make_icon.py [ICON_DIR]   writes hicolor/NxN/apps/org.quendal.Quendal.png there for the
sizes below (the hand-drawn hicolor/scalable/apps/org.quendal.Quendal.svg is the same picture).
Plain Python (zlib only), so the picture can be redrawn anywhere.
"""
import math
import os
import struct
import sys
import zlib

SAMPLES = 4  # supersampling per axis
APP_ID = "org.quendal.Quendal"
SIZES = (32, 64, 128)


def shade(x, y):
    """Colour (r, g, b, a) of the point (x, y) in unit coordinates 0..1."""
    # The growth curve in front of everything: a thick yellow rising line.
    cx = x
    curve_y = 0.86 - 0.62 * (1 - math.exp(-3.2 * cx))
    if 0.08 <= cx <= 0.94 and abs(y - curve_y) < 0.045:
        return (236, 190, 0, 255)
    # The ring: an ellipse band around the planet, drawn where it passes in front.
    dx, dy = (x - 0.5) / 0.46, (y - 0.52) / 0.14
    ring = dx * dx + dy * dy
    in_ring = 0.78 < ring < 1.0
    # The planet: a sphere lit from the upper left.
    px, py = x - 0.5, y - 0.5
    r = math.hypot(px, py)
    if r < 0.33:
        if in_ring and y > 0.52:
            return (200, 80, 40, 255)
        nz = math.sqrt(max(0.0, 1 - (r / 0.33) ** 2))
        light = max(0.0, (-px * 0.6 - py * 0.6) / 0.33 + nz * 0.7)
        land = math.sin(px * 23) * math.cos(py * 17) > 0.25
        base = (40, 150, 60) if land else (30, 90, 190)
        k = 0.35 + 0.75 * min(1.0, light)
        return tuple(min(255, int(c * k)) for c in base) + (255,)
    if in_ring:
        return (200, 80, 40, 255)
    return (0, 0, 0, 0)


def render(size):
    rows = []
    for j in range(size):
        row = bytearray([0])  # filter type none
        for i in range(size):
            acc = [0, 0, 0, 0]
            for sj in range(SAMPLES):
                for si in range(SAMPLES):
                    x = (i + (si + 0.5) / SAMPLES) / size
                    y = (j + (sj + 0.5) / SAMPLES) / size
                    r, g, b, a = shade(x, y)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if acc[3]:
                row += bytes(int(acc[k] / acc[3]) for k in range(3))
            else:
                row += bytes(3)
            row.append(int(alpha))
        rows.append(bytes(row))
    return b"".join(rows)


def png(size, pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b""))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for size in SIZES:
        folder = os.path.join(out, "hicolor", f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, f"{APP_ID}.png"), "wb") as f:
            f.write(png(size, render(size)))


if __name__ == "__main__":
    main()
