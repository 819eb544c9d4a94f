#!/usr/bin/env python3
"""Draws the application icon and writes Quellor.ico: 16, 24, 32 and 48 pixels in 4-, 8- and
32-bit colour, and 256 pixels in 32-bit colour (stored as PNG).

The picture is described here as shapes in a unit square (a blue rounded tile with a white
"Q"), sampled 4 x 4 times per pixel. Run it again after changing the picture:
    python3 res/make-icon.py res/Quellor.ico
"""
import struct
import sys
import zlib

SAMPLES = 4


def inside_rounded_square(u, v, inset=0.03, radius=0.2):
    lo, hi = inset, 1.0 - inset
    if not (lo <= u <= hi and lo <= v <= hi):
        return False
    cu = min(max(u, lo + radius), hi - radius)
    cv = min(max(v, lo + radius), hi - radius)
    return (u - cu) ** 2 + (v - cv) ** 2 <= radius ** 2


def on_letter(u, v):
    du, dv = u - 0.47, v - 0.46
    d2 = du * du + dv * dv
    if 0.19 ** 2 <= d2 <= 0.31 ** 2:
        return True
    # The tail: a thick stroke from the ring out to the lower right.
    ax, ay, bx, by = 0.56, 0.56, 0.80, 0.80
    t = ((u - ax) * (bx - ax) + (v - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)
    t = min(max(t, 0.0), 1.0)
    px, py = ax + t * (bx - ax), ay + t * (by - ay)
    return (u - px) ** 2 + (v - py) ** 2 <= 0.055 ** 2


def sample(u, v):
    """RGBA of one point, alpha 0 or 1."""
    if not inside_rounded_square(u, v):
        return (0.0, 0.0, 0.0, 0.0)
    if on_letter(u, v):
        return (1.0, 1.0, 1.0, 1.0)
    top, bottom = (0x2F, 0x80, 0xED), (0x1B, 0x4F, 0xA0)
    mix = [(a + (b - a) * v) / 255.0 for a, b in zip(top, bottom)]
    return (mix[0], mix[1], mix[2], 1.0)


def render(size):
    """Rows of (r, g, b, a) bytes, top row first, premultiplied samples averaged."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    u = (x + (sx + 0.5) / SAMPLES) / size
                    v = (y + (sy + 0.5) / SAMPLES) / size
                    pr, pg, pb, pa = sample(u, v)
                    r, g, b, a = r + pr * pa, g + pg * pa, b + pb * pa, a + pa
            n = SAMPLES * SAMPLES
            alpha = a / n
            if alpha > 0:
                row.append((round(255 * r / a), round(255 * g / a), round(255 * b / a),
                            round(255 * alpha)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
CUBE = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
PALETTE_8 = CUBE + [(round(i * 255 / 41),) * 3 for i in range(1, 41)]


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((p - c) ** 2 for p, c in zip(palette[i], colour)))


def mask_rows(rows):
    """The AND mask, bottom row first, 1 where the pixel is transparent."""
    size = len(rows)
    stride = ((size + 31) // 32) * 4
    out = b""
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bytes(bits)
    return out


def dib(rows, bpp):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, 0, 0, 0, 0, 0)
    stride = ((size * bpp + 31) // 32) * 4
    pixels = b""
    palette = b""
    if bpp == 32:
        for row in reversed(rows):
            pixels += b"".join(struct.pack("BBBB", b, g, r, a) for r, g, b, a in row)
    else:
        colours = VGA if bpp == 4 else PALETTE_8
        palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in colours)
        cache = {}
        for row in reversed(rows):
            line = bytearray(stride)
            for x, (r, g, b, a) in enumerate(row):
                index = 0
                if a >= 128:
                    key = (r, g, b)
                    if key not in cache:
                        cache[key] = nearest(colours, key)
                    index = cache[key]
                if bpp == 8:
                    line[x] = index
                else:
                    line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            pixels += bytes(line)
    return header + palette + pixels + mask_rows(rows)


def png(rows):
    size = len(rows)
    raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(path):
    images = []
    for size in (16, 24, 32, 48):
        rows = render(size)
        for bpp in (4, 8, 32):
            images.append((size, bpp, dib(rows, bpp)))
    images.append((256, 32, png(render(256))))
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = b""
    for size, bpp, data in images:
        colours = 16 if bpp == 4 else 0
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bpp,
                               len(data), offset)
        offset += len(data)
    with open(path, "wb") as out:
        out.write(header + entries + b"".join(data for _, _, data in images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "Quellor.ico")
