#!/usr/bin/env python3
"""Draws the interpreter's application icon (a quill over a copy gauge on a blue tile) and
writes it as a Windows .ico with 16x16, 32x32 and 48x48 images in 32-bit colour."""
import math
import struct
import sys


def draw(size):
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]
    s = size / 32.0
    for y in range(size):
        for x in range(size):
            # Rounded tile with the installer's blue gradient.
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            r = 5.0
            dx = max(r - fx, 0, fx - (32 - r))
            dy = max(r - fy, 0, fy - (32 - r))
            if dx * dx + dy * dy <= r * r:
                blue = int(255 - fy * 4)
                pixels[y][x] = (0, 0, blue, 255)
            # Gauge: a sunken bar, two thirds filled.
            if 5 <= fx <= 27 and 22 <= fy <= 27:
                edge = fx < 5.8 or fy < 22.8
                light = fx > 26.2 or fy > 26.2
                if edge:
                    pixels[y][x] = (128, 128, 128, 255)
                elif light:
                    pixels[y][x] = (255, 255, 255, 255)
                elif fx < 19:
                    pixels[y][x] = (255, 176, 0, 255)
                else:
                    pixels[y][x] = (192, 192, 192, 255)
            # Quill: a feather along the diagonal from (8, 19) to (26, 3).
            ax, ay, bx, by = 8.0, 19.0, 26.0, 3.0
            vx, vy = bx - ax, by - ay
            t = ((fx - ax) * vx + (fy - ay) * vy) / (vx * vx + vy * vy)
            if 0 <= t <= 1:
                px, py = ax + t * vx, ay + t * vy
                dist = math.hypot(fx - px, fy - py)
                width = 0.7 + 3.2 * math.sin(math.pi * min(1.0, t * 1.15)) if t > 0.18 else 0.7
                side = (fx - px) * vy - (fy - py) * vx
                if dist <= 0.75:
                    pixels[y][x] = (60, 40, 20, 255)
                elif dist <= width and (side < 0 or t > 0.25):
                    pixels[y][x] = (250, 250, 240, 255)
    return pixels


def image_entry(size):
    pixels = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes(c for (r, g, b, a) in [pixels[y][x]] for c in (b, g, r, a))
                    for y in reversed(range(size)) for x in range(size))
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)
    return header + rows + mask


def main(path):
    sizes = [16, 32, 48]
    images = [image_entry(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/icons/talven.ico')
