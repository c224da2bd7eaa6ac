#!/usr/bin/env python3
"""Draws the program icon (a framed picture with a rising sun and a sparkle)
and writes it as src/resources/gleamo.ico: 16x16 and 32x32, 32-bit with alpha.
Run it only to change the icon; the .ico is kept in the tree."""
import struct
import sys


def draw(size):
    s = size / 32.0
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def put(x, y, c):
        if 0 <= x < size and 0 <= y < size:
            px[y][x] = c

    frame = (60, 40, 20, 255)
    for y in range(size):
        for x in range(size):
            fx, fy = x / s, y / s
            if 2 <= fx < 30 and 4 <= fy < 28:
                inner = 4 <= fx < 28 and 6 <= fy < 26
                if not inner:
                    put(x, y, frame)
                    continue
                # sky: light at the horizon, deep at the top
                t = (fy - 6) / 20.0
                sky = (int(200 - 120 * (1 - t)), int(150 + 60 * t), int(60 + 100 * t), 255)
                put(x, y, sky)
                # sun
                if (fx - 12) ** 2 + (fy - 17) ** 2 < 25:
                    put(x, y, (250, 210, 60, 255))
                # hills
                if fy > 20 + 3 * ((fx - 18) / 10.0) ** 2 - 2:
                    put(x, y, (70, 130, 40, 255))
    # sparkle at the top right corner of the frame
    cx, cy = int(26 * s), int(7 * s)
    arm = max(2, int(4 * s))
    for d in range(-arm, arm + 1):
        put(cx + d, cy, (255, 255, 230, 255))
        put(cx, cy + d, (255, 255, 230, 255))
    return px


def ico_entry(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    data = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = px[y][x]
            data += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(size):
            if px[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(data) + bytes(mask)


def main(path):
    sizes = [16, 32]
    images = [ico_entry(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'src/resources/gleamo.ico')
