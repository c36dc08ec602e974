#!/usr/bin/env python3
"""Draws the launcher pictures and the icon, and tidies the WAVE files.

Called by make_art.sh. Only the standard library is used, and every
"random" choice comes from a fixed-seed generator, so each run writes
the same bytes.

  make_art.py pictures RESOURCE_DIR   both picture.bmp files
  make_art.py icon FILE.ico           the shared application icon
  make_art.py tidy-wav FILE.wav...    keep only fmt/fact/data chunks
"""

import math
import struct
import sys


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


class Lcg:
    """Small fixed generator: random.Random's output may change between
    Python versions, and the committed files should not."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state / 2**32


def inside(poly, x, y):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        (xi, yi), (xj, yj) = poly[i], poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


# --------------------------------------------------------------- pictures

VALKOR = {
    "size": (512, 511),
    "sky_top": (3, 4, 18), "sky_bottom": (46, 12, 64),
    "nebula": (150, 40, 120), "seed": 1701,
    "planet": (280, 335, 125), "light": (-0.6, -0.55),
    "bands": [(196, 110, 48), (232, 170, 92), (150, 70, 40), (220, 140, 70)],
    "rim": (255, 170, 110),
    "ring": (170, 195, 1.0 / 3.2, -0.35, (230, 205, 160)),
    "moon": (425, 115, 22, (190, 190, 205)),
    # fighter seen from above, nose along +x: (outline, where the engine is)
    "ship": ([(1.0, 0), (0.3, -0.12), (-0.1, -0.5), (-0.35, -0.5), (-0.25, -0.15),
              (-0.5, -0.12), (-0.5, 0.12), (-0.25, 0.15), (-0.35, 0.5), (-0.1, 0.5),
              (0.3, 0.12)], (-0.52, 0.0)),
    "ship_at": (130, 150, 80, -0.3),  # x, y, length, heading
    "hull": (18, 20, 30), "hull_edge": (120, 150, 200),
    "flame": (110, 170, 255),
    "flare": None,
}

NOVALKOR = {
    "size": (512, 512),
    "sky_top": (0, 14, 16), "sky_bottom": (6, 52, 44),
    "nebula": (40, 170, 130), "seed": 2049,
    "planet": (210, 330, 150), "light": (0.55, -0.7),
    "bands": [(120, 180, 225), (200, 230, 245), (80, 130, 190), (170, 210, 240)],
    "rim": (150, 240, 255),
    "ring": None,
    "moon": (330, 118, 30, (200, 80, 60)),
    "ship": ([(1.0, 0), (-0.6, -0.7), (-0.35, 0), (-0.6, 0.7)], (-0.38, 0.0)),
    "ship_at": (420, 300, 60, -2.5),
    "hull": (12, 16, 14), "hull_edge": (255, 200, 120),
    "flame": (255, 150, 60),
    "flare": (430, 70, (255, 240, 200)),
}


def draw_picture(t):
    w, h = t["size"]
    rng = Lcg(t["seed"])
    px, py, pr = t["planet"]
    lx, ly = t["light"]
    lz = math.sqrt(max(0.0, 1 - lx * lx - ly * ly))
    stars = {}
    for _ in range(420):
        sx, sy = int(rng.next() * w), int(rng.next() * h)
        b = rng.next() ** 3
        tint = rng.next()
        colour = mix((255, 235, 210), (200, 220, 255), tint)
        stars[(sx, sy)] = tuple(c * (0.35 + 0.65 * b) for c in colour)
        if b > 0.75:  # the brightest get a small cross of glare
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                stars.setdefault((sx + dx, sy + dy), tuple(c * 0.45 for c in colour))

    outline, engine = t["ship"]
    ox, oy, length, heading = t["ship_at"]
    ch, sh = math.cos(heading), math.sin(heading)

    def place(u, v):
        u, v = u * length, v * length
        return (ox + u * ch - v * sh, oy + u * sh + v * ch)

    ship = [place(u, v) for u, v in outline]
    fx, fy = place(*engine)
    sxs = [p[0] for p in ship]
    sys_ = [p[1] for p in ship]
    sbox = (min(sxs) - 1, max(sxs) + 1, min(sys_) - 1, max(sys_) + 1)

    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            # sky: gradient plus a soft interference "nebula"
            g = y / (h - 1)
            col = mix(t["sky_top"], t["sky_bottom"], g)
            n = (math.sin(x * 0.011 + y * 0.006) * math.sin(y * 0.015 - x * 0.004 + 1.3)
                 + 0.5 * math.sin((x + y) * 0.023))
            col = mix(col, t["nebula"], clamp(n * 0.22, 0, 0.3))
            if (x, y) in stars:
                s = stars[(x, y)]
                col = tuple(max(a, b) for a, b in zip(col, s))

            if t["flare"]:
                sx, sy, sc = t["flare"]
                d = math.hypot(x - sx, y - sy)
                col = mix(col, sc, clamp(18.0 / (d + 1.0)) ** 1.4)

            if t["moon"]:
                mx, my, mr, mc = t["moon"]
                d = math.hypot(x - mx, y - my)
                cover = clamp(mr - d + 0.5)
                if cover > 0:
                    nx, ny = (x - mx) / mr, (y - my) / mr
                    nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
                    lit = clamp(nx * lx + ny * ly + nz * lz) * 0.9 + 0.06
                    col = mix(col, tuple(c * lit for c in mc), cover)

            ring_col, ring_front = None, False
            if t["ring"]:
                r0, r1, squash, ang, rc = t["ring"]
                dx, dy = x - px, y - py
                ca, sa = math.cos(ang), math.sin(ang)
                u, v = dx * ca + dy * sa, (-dx * sa + dy * ca) / squash
                rr = math.hypot(u, v)
                if r0 <= rr <= r1:
                    k = (rr - r0) / (r1 - r0)
                    dens = 0.55 + 0.45 * math.sin(k * 19.0) * math.sin(k * 7.0 + 0.4)
                    if 0.42 < k < 0.48:  # the gap
                        dens = 0.08
                    ring_col = (rc, clamp(dens) * 0.85)
                    ring_front = v > 0

            if ring_col and not ring_front:
                col = mix(col, ring_col[0], ring_col[1])

            d = math.hypot(x - px, y - py)
            if d < pr + 14:
                # thin atmosphere glow outside the limb
                if d > pr:
                    col = mix(col, t["rim"], ((pr + 14 - d) / 14) ** 2 * 0.45)
                cover = clamp(pr - d + 0.5)
                if cover > 0:
                    nx, ny = (x - px) / pr, (y - py) / pr
                    nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
                    lat = ny + 0.08 * math.sin(nx * 9.0)
                    bands = t["bands"]
                    f = (lat * 3.2 + 4.0) % len(bands)
                    i = int(f)
                    base = mix(bands[i], bands[(i + 1) % len(bands)], f - i)
                    lit = clamp(nx * lx + ny * ly + nz * lz)
                    shade = 0.04 + 0.96 * lit ** 0.8
                    surf = tuple(c * shade for c in base)
                    surf = mix(surf, t["rim"], (1 - nz) ** 3 * 0.5 * clamp(lit * 2))
                    col = mix(col, surf, cover)

            if ring_col and ring_front:
                col = mix(col, ring_col[0], ring_col[1])

            # engine glow first, so the hull hides the part of it behind the ship
            fc = t["flame"]
            du, dv = (x - fx) * ch + (y - fy) * sh, -(x - fx) * sh + (y - fy) * ch
            d = math.hypot(du * 0.6, dv)  # stretched along the heading
            if d < 26:
                col = mix(col, fc, clamp(1 - d / 26) ** 2)
                col = mix(col, (255, 255, 255), clamp(1 - d / 6))

            if sbox[0] <= x <= sbox[1] and sbox[2] <= y <= sbox[3]:
                hits = sum(inside(ship, x + qx, y + qy)
                           for qx in (0.25, 0.75) for qy in (0.25, 0.75))
                if hits:
                    # lit from the planet's light: sides facing it get a bright edge
                    edge = not inside(ship, x + 0.5 + lx * 2.5, y + 0.5 + ly * 2.5)
                    hull = t["hull_edge"] if edge else t["hull"]
                    col = mix(col, hull, hits / 4)

            row.append(tuple(int(clamp(c, 0, 255) + 0.5) for c in col))
        rows.append(row)
    return fade_sides(rows, EDGE_BAND)


# The picture control is wider than the picture and fills beside it with the
# colour of its top-left pixel; the left and right borders fade into that
# colour, so the window shows one picture. Everything drawn stays clear of them.
EDGE_BAND = 40


def fade_sides(rows, band):
    w = len(rows[0])
    edge = rows[0][0]
    for row in rows:
        for x in range(w):
            t = clamp(1 - min(x, w - 1 - x) / band)
            if t > 0:
                weight = t * t * (3 - 2 * t)
                row[x] = tuple(int(a + (b - a) * weight + 0.5) for a, b in zip(row[x], edge))
    return rows


def write_bmp(path, rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    pad = b"\0" * (stride - w * 3)
    body = bytearray()
    for row in reversed(rows):  # bottom-up
        for r, g, b in row:
            body += bytes((b, g, r))
        body += pad
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(body), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(head + info + body)


# ------------------------------------------------------------------ icon

def icon_pixel(x, y):
    """RGBA of the icon art at (x, y) in a unit square: a ringed planet."""
    dx, dy = x - 0.5, y - 0.52
    ang = -0.45
    ca, sa = math.cos(ang), math.sin(ang)
    u, v = dx * ca + dy * sa, (-dx * sa + dy * ca) * 3.0
    rr = math.hypot(u, v)
    ring = 0.36 <= rr <= 0.49
    ring_col = (250, 215, 120) if rr < 0.43 else (200, 150, 70)
    d = math.hypot(dx, dy)
    if ring and v > 0:
        return ring_col + (255,)
    if d <= 0.31:
        nx, ny = dx / 0.31, dy / 0.31
        nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
        lit = clamp(-0.6 * nx - 0.55 * ny + 0.58 * nz)
        base = (40, 120, 220) if math.sin(ny * 7.0) > -0.2 else (90, 200, 240)
        shade = 0.18 + 0.82 * lit
        return tuple(int(c * shade) for c in base) + (255,)
    if ring:
        return ring_col + (255,)
    return (0, 0, 0, 0)


def render_icon(size):
    n = 4  # 4x4 samples per pixel so the small sizes keep smooth edges
    out = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    p = icon_pixel((x + (sx + 0.5) / n) / size, (y + (sy + 0.5) / n) / size)
                    for i in range(3):
                        acc[i] += p[i] * p[3] / 255
                    acc[3] += p[3]
            a = acc[3] / (n * n)
            if a < 128:
                row.append(None)
            else:
                k = 255 / acc[3]
                row.append(tuple(int(acc[i] * k + 0.5) for i in range(3)))
        out.append(row)
    return out


def median_cut(colours, count):
    boxes = [sorted(set(colours))]
    while len(boxes) < count:
        boxes.sort(key=lambda b: -max(max(c[i] for c in b) - min(c[i] for c in b)
                                       for i in range(3)) if len(b) > 1 else 1)
        box = boxes[0]
        if len(box) < 2:
            break
        spans = [max(c[i] for c in box) - min(c[i] for c in box) for i in range(3)]
        axis = spans.index(max(spans))
        box.sort(key=lambda c: c[axis])
        half = len(box) // 2
        boxes[0:1] = [box[:half], box[half:]]
    palette = [tuple(sum(c[i] for c in b) // len(b) for i in range(3)) for b in boxes if b]
    return palette


def icon_image(size, bpp):
    px = render_icon(size)
    opaque = [c for row in px for c in row if c is not None]
    # index 0 stays black: transparent pixels use it, as the AND mask expects
    palette = [(0, 0, 0)] + median_cut(opaque, (1 << bpp) - 1)
    palette += [(0, 0, 0)] * ((1 << bpp) - len(palette))

    def nearest(c):
        return min(range(1, len(palette)),
                   key=lambda i: sum((a - b) ** 2 for a, b in zip(c, palette[i])))

    xor_stride = ((size * bpp + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for row in reversed(px):  # DIB rows are bottom-up
        idx = [0 if c is None else nearest(c) for c in row]
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, i in enumerate(idx):
            if bpp == 8:
                line[x] = i
            else:
                line[x // 2] |= i << (4 if x % 2 == 0 else 0)
            if row[x] is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + pal + bytes(xor) + bytes(mask)


def write_icon(path):
    order = [(32, 4), (32, 8), (16, 4), (16, 8)]
    images = [icon_image(s, b) for s, b in order]
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    for (size, bpp), img in zip(order, images):
        colours = 16 if bpp == 4 else 0
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bpp, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    with open(path, "wb") as f:
        f.write(out)


# ------------------------------------------------------------------ wave

KEEP = (b"fmt ", b"fact", b"data")


def mp3_format(body):
    """Give ffmpeg's MPEGLAYER3WAVEFORMAT the values Windows' own MP3 codec
    writes: nBlockAlign 1, nBlockSize one frame's length in bytes (ffmpeg
    puts MPEG-1's 1152 samples there), and ISO padding, which LAME uses."""
    tag, channels, rate, avg, _, _, cb = struct.unpack_from("<HHIIHHH", body)
    if tag != 0x55 or cb != 12:
        return body
    wid, _, _, frames, delay = struct.unpack_from("<HIHHH", body, 18)
    samples = 1152 if rate >= 32000 else 576  # MPEG-1 frames are twice as long
    block = samples * avg // rate
    return (struct.pack("<HHIIHHH", tag, channels, rate, avg, 1, 0, cb)
            + struct.pack("<HIHHH", wid, 0, block, frames, delay) + body[30:])


def tidy_wav(path):
    """Drop everything but fmt/fact/data; the launchers' player only
    needs those, and LIST/INFO carries the encoder's version string."""
    with open(path, "rb") as f:
        raw = f.read()
    if raw[:4] != b"RIFF" or raw[8:12] != b"WAVE":
        sys.exit(f"{path}: not a RIFF WAVE file")
    at, chunks = 12, []
    while at + 8 <= len(raw):
        cid, size = struct.unpack_from("<4sI", raw, at)
        body = raw[at + 8:at + 8 + size]
        if len(body) != size:
            sys.exit(f"{path}: chunk {cid!r} is cut short")
        if cid == b"fmt ":
            body = mp3_format(body)
        if cid in KEEP:
            chunks.append(struct.pack("<4sI", cid, size) + body + (b"\0" if size & 1 else b""))
        at += 8 + size + (size & 1)
    got = [c[:4] for c in chunks]
    if b"fmt " not in got or b"data" not in got:
        sys.exit(f"{path}: fmt or data chunk missing")
    payload = b"WAVE" + b"".join(chunks)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(payload)) + payload)


def main(argv):
    if len(argv) >= 3 and argv[1] == "pictures":
        base = argv[2]
        write_bmp(f"{base}/valkor/picture.bmp", draw_picture(VALKOR))
        write_bmp(f"{base}/novalkor/picture.bmp", draw_picture(NOVALKOR))
    elif len(argv) == 3 and argv[1] == "icon":
        write_icon(argv[2])
    elif len(argv) >= 3 and argv[1] == "tidy-wav":
        for p in argv[2:]:
            tidy_wav(p)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
