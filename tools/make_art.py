#!/usr/bin/env python3
"""Generate the launcher artwork in res/art/.

    /usr/bin/python3 tools/make_art.py

Needs Pillow for drawing; every output file is encoded by hand (PNG chunks,
GIF/LZW, BMP, ICO) so the exact layout of each file is under our control.
The output is deterministic: same input, same bytes.
"""

import math
import os
import random
import struct
import zlib

from PIL import Image, ImageChops, ImageDraw, ImageFilter

RS = getattr(Image, "Resampling", Image)
DITHER = getattr(Image, "Dither", Image)
QUANT = getattr(Image, "Quantize", Image)

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "res", "art")

# ---------------------------------------------------------------------------
# Layout of the main window skin (pixels, 1x).  The launcher places its child
# controls at these positions, so the artwork is built around them.
# ---------------------------------------------------------------------------
W, H = 1298, 727
S = 2  # supersampling factor used while painting

WEB = (484, 209, 1139, 629)  # web view rectangle (x0, y0, x1, y1), exclusive
BTN_W, BTN_H = 52, 55
BTN_MIN = (1027, 151)
BTN_CLOSE = (1093, 150)

BODY = (170, 134, 1178, 668)
BODY_R = 30
RIM = 7
BANNER_X0, BANNER_X1 = 98, 412
BANNER_TOP, BANNER_TIP, BANNER_NOTCH = 104, 710, 668
MEDAL_C, MEDAL_R = (255, 126), 98
ROD = (80, 98, 430, 112)
HEADER_Y1 = 206          # gold divider between the header strip and the page
WEB_FRAME = 12
GLOW_R = 7.5             # outer glow: blur radius and gain
GLOW_GAIN = 1.5

# Colours
GOLD = [(0.00, (38, 24, 9)), (0.28, (104, 70, 26)), (0.50, (184, 140, 64)),
        (0.62, (236, 204, 128)), (0.72, (196, 154, 76)), (1.00, (66, 42, 14))]
STEEL = [(0.0, (7, 10, 16)), (0.45, (22, 30, 44)), (0.8, (40, 52, 72)), (1.0, (62, 78, 104))]
CYAN = (70, 214, 240)
CYAN_HI = (196, 250, 255)
CRIMSON = [(0.0, (22, 4, 9)), (0.4, (72, 13, 25)), (0.75, (122, 26, 38)), (1.0, (164, 48, 56))]


# ---------------------------------------------------------------------------
# Painting helpers (coordinates are given at 1x and scaled by S)
# ---------------------------------------------------------------------------

def sc(v):
    return int(round(v * S))


def box(b):
    return [sc(v) for v in b]


def mask(size=None):
    return Image.new("L", size or (W * S, H * S), 0)


def ramp_luts(stops):
    luts = ([], [], [])
    for i in range(256):
        t = i / 255.0
        for j in range(len(stops) - 1):
            t0, c0 = stops[j]
            t1, c1 = stops[j + 1]
            if t <= t1 or j == len(stops) - 2:
                f = 0.0 if t1 == t0 else min(1.0, max(0.0, (t - t0) / (t1 - t0)))
                for k in range(3):
                    luts[k].append(int(round(c0[k] + (c1[k] - c0[k]) * f)))
                break
    return luts


def colorize(l_img, stops):
    luts = ramp_luts(stops)
    return Image.merge("RGB", [l_img.point(lut) for lut in luts])


def vgrad(w, h, v0=0, v1=255):
    col = Image.new("L", (1, 256))
    col.putdata([int(round(v0 + (v1 - v0) * i / 255.0)) for i in range(256)])
    return col.resize((w, h), RS.BILINEAR)


def vband(y0, y1, v0, v1, size=None):
    """Full-canvas vertical ramp from v0 at y0 to v1 at y1 (1x), clamped."""
    w, h = size or (W * S, H * S)
    vals = []
    for y in range(h):
        t = min(1.0, max(0.0, (y / S - y0) / float(y1 - y0)))
        vals.append(int(round(v0 + (v1 - v0) * t)))
    col = Image.new("L", (1, h))
    col.putdata(vals)
    return col.resize((w, h), RS.NEAREST)


def hband(fn, size=None):
    """Full-canvas horizontal profile: fn(x at 1x) -> 0..255."""
    w, h = size or (W * S, H * S)
    row = Image.new("L", (w, 1))
    row.putdata([max(0, min(255, int(round(fn(x / S))))) for x in range(w)])
    return row.resize((w, h), RS.NEAREST)


def noise(w, h, cell, seed, lo=0, hi=255):
    """Smooth value noise: random cells scaled up with bicubic filtering."""
    rnd = random.Random(seed)
    sw, sh = max(2, w // cell + 3), max(2, h // cell + 3)
    data = bytes(rnd.randrange(lo, hi + 1) for _ in range(sw * sh))
    small = Image.frombytes("L", (sw, sh), data)
    big = small.resize((sw * cell, sh * cell), RS.BICUBIC)
    return big.crop((cell, cell, cell + w, cell + h))


def streaks(w, h, length, seed, lo=0, hi=255):
    """Horizontal brushed-metal streaks."""
    rnd = random.Random(seed)
    sw, sh = max(2, w // length + 2), h
    data = bytes(rnd.randrange(lo, hi + 1) for _ in range(sw * sh))
    small = Image.frombytes("L", (sw, sh), data)
    return small.resize((w, h), RS.BICUBIC)


def blur(img, r):
    return img.filter(ImageFilter.GaussianBlur(r))


def offset_mask(m, d, soft=3):
    """Grow (d > 0) or shrink (d < 0) a mask by roughly |d| px (at 1x)."""
    sigma = abs(d) * S / 1.5
    b = blur(m, sigma)
    th = 17 if d > 0 else 238
    lo, hi = th - soft, th + soft
    return b.point(lambda v: 0 if v <= lo else 255 if v >= hi
                   else int(255 * (v - lo) / (hi - lo)))


def sub_mask(a, b):
    return ImageChops.subtract(a, b)


def mul_mask(a, b):
    return ImageChops.multiply(a, b)


def fade(m, f):
    return m.point(lambda v: int(round(v * f)))


def shade_map(m, depth, light=(-0.6, -0.8), gain=2.0, lo=50, hi=215):
    """Emboss-style lighting of a mask: 128 = flat, brighter = facing light."""
    b = blur(m, depth * S)
    d = max(1, depth * S * 0.7)
    dx, dy = int(round(light[0] * d)) or -1, int(round(light[1] * d)) or -1
    near = ImageChops.offset(b, -dx, -dy)   # mask one step towards the light
    far = ImageChops.offset(b, dx, dy)      # ... and one step away from it
    sh = ImageChops.subtract(far, near, scale=1.0 / gain, offset=128)
    return sh.point(lambda v: min(hi, max(lo, v)))


def apply_shade(rgb, shade):
    return ImageChops.hard_light(rgb, Image.merge("RGB", [shade] * 3))


def paint(base, fill, m):
    """Paint `fill` (colour tuple or RGB image) onto base through mask m."""
    if isinstance(fill, tuple):
        fill = Image.new("RGB", base.size, fill)
    base.paste(fill, (0, 0), m)


def glow(base, m, color, radius, strength=1.0):
    g = blur(m, radius * S)
    if strength != 1.0:
        g = g.point(lambda v: min(255, int(v * strength)))
    layer = Image.new("RGB", base.size, color)
    base.paste(ImageChops.screen(base, layer), (0, 0), g)


def drop_shadow(base, m, dx, dy, radius, strength):
    sh = ImageChops.offset(blur(m, radius * S), sc(dx), sc(dy))
    paint(base, (0, 0, 0), sh.point(lambda v: min(255, int(v * strength))))


def rounded(m, b, r, fill=255):
    ImageDraw.Draw(m).rounded_rectangle(box(b), radius=sc(r), fill=fill)


def poly(m, pts, fill=255):
    ImageDraw.Draw(m).polygon([(sc(x), sc(y)) for x, y in pts], fill=fill)


def ellipse(m, b, fill=255):
    ImageDraw.Draw(m).ellipse(box(b), fill=fill)


def circle(m, c, r, fill=255):
    ellipse(m, (c[0] - r, c[1] - r, c[0] + r, c[1] + r), fill)


def hline(m, x0, x1, y, width, fill=255):
    ImageDraw.Draw(m).line([sc(x0), sc(y), sc(x1), sc(y)], fill=fill, width=max(1, sc(width)))


def metal(stops, y0, y1, seed, v0=230, v1=30, streak=24):
    """Brushed metal lit from above, ramping over y0..y1."""
    g = vband(y0, y1, v0, v1)
    if streak:
        s = streaks(W * S, H * S, 70, seed, 128 - streak, 128 + streak)
        g = ImageChops.add(g, s, offset=-128)
    return colorize(g, stops)


def gilt(base, m, y0, y1, seed, depth=1.5, v0=225, v1=50):
    """Paint a bevelled gold element."""
    col = apply_shade(metal(GOLD, y0, y1, seed, v0, v1, 18), shade_map(m, depth))
    paint(base, col, m)


def gem(base, pts, glow_r=6):
    g = mask()
    poly(g, pts)
    glow(base, g, CYAN, glow_r, 2.0)
    ys = [p[1] for p in pts]
    col = colorize(vband(min(ys), max(ys), 255, 0),
                   [(0.0, (14, 70, 100)), (0.6, (90, 200, 230)), (1.0, (230, 255, 255))])
    paint(base, col, g)
    # small glint of light
    cx = sum(p[0] for p in pts) / len(pts)
    cy = sum(ys) / len(ys)
    hi = mask()
    circle(hi, (cx - 1.5, cy - (max(ys) - min(ys)) * 0.18), 1.6)
    paint(base, (255, 255, 255), blur(hi, 0.6 * S))


def diamond(cx, cy, rx, ry):
    return [(cx, cy - ry), (cx + rx, cy), (cx, cy + ry), (cx - rx, cy)]


# ---------------------------------------------------------------------------
# Emblem (shared by the window skin and the icon)
# ---------------------------------------------------------------------------

def star_points(cx, cy, r_long, r_side, r_in, rot=0.0):
    pts = []
    for i in range(8):
        a = rot + i * math.pi / 4 - math.pi / 2
        if i % 2 == 0:
            r = r_long if i % 4 == 0 else r_side
        else:
            r = r_in
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def emblem(size, detail=True, ss=4):
    """The Orvanta mark: a gilded ring holding a four-pointed star, with a
    tilted orbit crossing behind the star.  Returns an RGBA image."""
    n = size * ss
    u = n / 100.0  # design units: the mark spans 0..100

    def m_circle(r, cx=50.0, cy=50.0):
        mm = Image.new("L", (n, n), 0)
        ImageDraw.Draw(mm).ellipse([(cx - r) * u, (cy - r) * u,
                                    (cx + r) * u, (cy + r) * u], fill=255)
        return mm

    ring_out = 48.5 if detail else 49.0
    ring_in = 39.5 if detail else 36.0
    outer = m_circle(ring_out)
    inner = m_circle(ring_in)
    ring = ImageChops.subtract(outer, inner)

    rgb = Image.new("RGB", (n, n), (0, 0, 0))

    # dark disc, lit from the upper left
    disc = Image.radial_gradient("L").resize((n, n), RS.BILINEAR)
    disc = ImageChops.offset(disc, int(-8 * u), int(-10 * u))
    rgb.paste(colorize(disc, [(0.0, (34, 58, 86)), (0.45, (14, 24, 40)),
                              (1.0, (4, 8, 14))]), (0, 0))

    # faint inner rings / ticks
    if detail:
        deco = Image.new("L", (n, n), 0)
        d = ImageDraw.Draw(deco)
        r = 33.5
        d.ellipse([(50 - r) * u, (50 - r) * u, (50 + r) * u, (50 + r) * u],
                  outline=255, width=max(1, int(0.8 * u)))
        for i in range(24):
            a = i * math.pi / 12
            r0, r1 = (35.0, 38.5) if i % 2 == 0 else (36.2, 38.5)
            d.line([(50 + r0 * math.cos(a)) * u, (50 + r0 * math.sin(a)) * u,
                    (50 + r1 * math.cos(a)) * u, (50 + r1 * math.sin(a)) * u],
                   fill=255, width=max(1, int(0.9 * u)))
        rgb.paste((60, 120, 150), (0, 0), deco.point(lambda v: v * 70 // 255))

    # orbit behind the star
    orbit = Image.new("L", (n, n), 0)
    if detail:
        d = ImageDraw.Draw(orbit)
        d.ellipse([14 * u, 38 * u, 86 * u, 62 * u], outline=255,
                  width=max(1, int(2.2 * u)))
        orbit = orbit.rotate(-28, resample=RS.BICUBIC, center=(n / 2, n / 2))
        orbit = ImageChops.multiply(orbit, inner)
        glow_l = blur(orbit, 2.5 * u)
        rgb.paste(CYAN, (0, 0), glow_l.point(lambda v: v * 120 // 255))
        rgb.paste((120, 226, 246), (0, 0), orbit)

    # the star: long vertical points, shorter horizontal ones
    if detail:
        pts = star_points(50, 50, 46, 30, 7.0)
    else:
        pts = star_points(50, 50, 44, 32, 9.5)
    star = Image.new("L", (n, n), 0)
    ImageDraw.Draw(star).polygon([(x * u, y * u) for x, y in pts], fill=255)
    glow_s = blur(star, (5 if detail else 3) * u)
    rgb.paste(CYAN, (0, 0), glow_s.point(lambda v: min(255, v * 2) * 170 // 255))
    # two-tone facets: light upper-left, darker lower-right
    facet = Image.new("L", (n, n), 0)
    fd = ImageDraw.Draw(facet)
    for i in range(8):
        a0, a1 = pts[i], pts[(i + 1) % 8]
        tri = [(50 * u, 50 * u), (a0[0] * u, a0[1] * u), (a1[0] * u, a1[1] * u)]
        # brightness by facet direction (light from the upper left)
        mx, my = (a0[0] + a1[0]) / 2 - 50, (a0[1] + a1[1]) / 2 - 50
        ln = math.hypot(mx, my) or 1
        lit = (-mx * 0.6 - my * 0.8) / ln
        fd.polygon(tri, fill=int(150 + 100 * lit))
    star_rgb = colorize(facet, [(0.0, (30, 120, 160)), (0.5, (110, 220, 245)),
                                (1.0, (245, 255, 255))])
    rgb.paste(star_rgb, (0, 0), star)
    core = m_circle(4.5 if detail else 6.0)
    core = blur(core, 2.0 * u)
    rgb.paste((255, 255, 255), (0, 0), core)

    # gilded ring with bevel
    gy = vgrad(n, n, 235, 20)
    gold = colorize(gy, GOLD)
    sh = shade_map_local(ring, 1.4 * u)
    gold = apply_shade(gold, sh)
    rgb.paste(gold, (0, 0), ring)
    # fine dark groove in the middle of the ring
    if detail:
        groove = ImageChops.subtract(m_circle(44.6), m_circle(43.6))
        rgb.paste((70, 46, 16), (0, 0), groove.point(lambda v: v * 150 // 255))

    # the star's vertical points cross the ring
    over = ImageChops.multiply(star, ImageChops.subtract(outer, inner))
    rgb.paste(star_rgb, (0, 0), over)

    # a small pearl riding in the ring's groove
    if detail:
        a = math.radians(-40)
        mc = (50 + 44.1 * math.cos(a), 50 + 44.1 * math.sin(a))
        rgb.paste((26, 18, 8), (0, 0), blur(m_circle(4.4, mc[0] + 0.4, mc[1] + 0.8), 0.6 * u))
        pearl = m_circle(3.2, mc[0], mc[1])
        pg = blur(m_circle(6.5, mc[0], mc[1]), 2.0 * u)
        rgb.paste(ImageChops.screen(rgb, Image.new("RGB", (n, n), CYAN)), (0, 0),
                  pg.point(lambda v: v * 120 // 255))
        rgb.paste(colorize(vgrad(n, n, 255, 0), [(0.0, (20, 110, 150)), (0.5, (110, 225, 248)),
                                                 (1.0, (240, 255, 255))]), (0, 0), pearl)

    img = rgb.convert("RGBA")
    img.putalpha(ImageChops.lighter(outer, star))  # star tips may poke out
    return img.resize((size, size), RS.LANCZOS)


def shade_map_local(m, depth, gain=2.0, lo=50, hi=205):
    """shade_map() for an image of arbitrary scale (depth in its pixels)."""
    b = blur(m, depth)
    dx, dy = max(1, int(round(depth * 0.45))), max(1, int(round(depth * 0.6)))
    towards = ImageChops.offset(b, dx, dy)
    away = ImageChops.offset(b, -dx, -dy)
    sh = ImageChops.subtract(away, towards, scale=1.0 / gain, offset=128)
    return sh.point(lambda v: min(hi, max(lo, v)))


# ---------------------------------------------------------------------------
# Window skin
# ---------------------------------------------------------------------------

def silhouette_parts():
    body = mask()
    rounded(body, BODY, BODY_R)
    banner = mask()
    bcx = (BANNER_X0 + BANNER_X1) / 2
    poly(banner, [(BANNER_X0, BANNER_TOP), (BANNER_X1, BANNER_TOP),
                  (BANNER_X1, BANNER_TIP), (bcx, BANNER_NOTCH), (BANNER_X0, BANNER_TIP)])
    rod = mask()
    ry = (ROD[1] + ROD[3]) / 2
    rounded(rod, ROD, (ROD[3] - ROD[1]) / 2)
    for x in (ROD[0] + 4, ROD[2] - 4):
        circle(rod, (x, ry), 11)
    medal = mask()
    circle(medal, MEDAL_C, MEDAL_R)
    return body, banner, rod, medal


def paint_body(base, body):
    size = base.size
    # dark slate with a cloudy texture, a little lighter at the top
    g = vband(BODY[1], BODY[3], 150, 70)
    clouds = ImageChops.blend(noise(size[0], size[1], 110, 11), noise(size[0], size[1], 16, 12), 0.3)
    t = ImageChops.add(g, clouds, scale=2.0, offset=0)
    slate = colorize(t, [(0.0, (8, 11, 17)), (0.3, (13, 18, 27)), (0.6, (22, 29, 42)),
                         (1.0, (38, 49, 68))])
    vig = blur(offset_mask(body, -26), 36 * S)
    slate = Image.composite(slate, Image.new("RGB", size, (4, 6, 10)),
                            vig.point(lambda v: 70 + v * 185 // 255))
    paint(base, slate, body)

    # faint engraved hexagon lattice, fading towards the edges
    lat = mask()
    d = ImageDraw.Draw(lat)
    hx = 30
    for row in range(-1, int(H / (hx * 1.732)) + 3):
        for col in range(-1, int(W / (hx * 1.5)) + 3):
            cx = col * hx * 1.5
            cy = row * hx * 1.732 + (hx * 0.866 if col % 2 else 0)
            pts = [(cx + hx * math.cos(k * math.pi / 3), cy + hx * math.sin(k * math.pi / 3))
                   for k in range(7)]
            d.line([(sc(x), sc(y)) for x, y in pts], fill=255, width=S)
    lat_fade = ImageChops.multiply(blur(offset_mask(body, -24), 50 * S),
                                   noise(size[0], size[1], 160, 13, 40, 255))
    lat = ImageChops.multiply(lat, lat_fade)
    paint(base, (0, 0, 0), fade(ImageChops.offset(lat, S, S), 0.35))
    paint(base, (46, 64, 88), fade(lat, 0.30))


def paint_header(base, body):
    size = base.size
    inner = offset_mask(body, -RIM)
    hdr = mask()
    ImageDraw.Draw(hdr).rectangle([0, 0, size[0], sc(HEADER_Y1)], fill=255)
    hdr = mul_mask(hdr, inner)
    steel = metal(STEEL, BODY[1], HEADER_Y1, 21, 215, 60, 20)
    paint(base, steel, hdr)
    # soft light along the top of the strip
    top = mask()
    ImageDraw.Draw(top).rectangle([0, sc(BODY[1] + RIM), size[0], sc(BODY[1] + RIM + 3)], fill=255)
    paint(base, (120, 140, 170), fade(blur(mul_mask(top, inner), 1.5 * S), 0.25))

    # engraved chevrons near the banner
    chev = mask()
    for i in range(4):
        x = BANNER_X1 + 30 + i * 16
        poly(chev, [(x, 158), (x + 8, 158), (x + 20, 172), (x + 8, 186), (x, 186), (x + 12, 172)])
    paint(base, (2, 4, 8), fade(ImageChops.offset(chev, -S, -S), 0.8))
    paint(base, (70, 90, 118), fade(ImageChops.offset(chev, S, S), 0.6))
    paint(base, (16, 22, 32), chev)
    # a cyan running light from the chevrons towards the buttons
    run = mask()
    hline(run, BANNER_X1 + 110, BTN_MIN[0] - 30, 172, 1.2)
    prof = hband(lambda x: 255 * math.sin(math.pi * min(1.0, max(0.0, (x - BANNER_X1 - 110)
                                                               / (BTN_MIN[0] - 30 - BANNER_X1 - 110)))) ** 0.6)
    run = mul_mask(run, prof)
    groove = mask()
    rounded(groove, (BANNER_X1 + 104, 168, BTN_MIN[0] - 24, 176), 4)
    paint(base, (3, 5, 9), groove)
    paint(base, (60, 76, 100), fade(sub_mask(ImageChops.offset(groove, 0, S), groove), 0.8))
    glow(base, run, CYAN, 3, 1.6)
    paint(base, CYAN_HI, run)
    for x in (BANNER_X1 + 104, BTN_MIN[0] - 24):
        gem(base, diamond(x, 172, 6, 9), 4)

    # recessed plate that holds the minimise / close buttons
    plate = mask()
    px0, px1 = BTN_MIN[0] - 12, BTN_CLOSE[0] + BTN_W + 12
    rounded(plate, (px0, BTN_CLOSE[1] - 8, px1, HEADER_Y1 + 20), 16)
    plate = mul_mask(plate, hdr)
    well = metal(STEEL, BTN_CLOSE[1] - 8, HEADER_Y1, 22, 40, 110, 10)
    paint(base, well, plate)
    ins = sub_mask(plate, ImageChops.offset(offset_mask(plate, -2), sc(2), sc(3)))
    paint(base, (0, 0, 0), fade(blur(ins, 2 * S), 0.9))
    lip = sub_mask(offset_mask(plate, 3), plate)
    lip = mul_mask(lip, hdr)
    gilt(base, lip, BTN_CLOSE[1] - 10, HEADER_Y1, 23, 1.0)

    # gold divider under the header
    div = mask()
    ImageDraw.Draw(div).rectangle([0, sc(HEADER_Y1 - 1), size[0], sc(HEADER_Y1 + 2)], fill=255)
    div = mul_mask(div, inner)
    paint(base, (0, 0, 0), fade(ImageChops.offset(blur(div, 2 * S), 0, sc(2)), 0.8))
    gilt(base, div, HEADER_Y1 - 1, HEADER_Y1 + 2, 24, 0.6, 240, 90)


def paint_web_frame(base):
    x0, y0, x1, y1 = WEB
    fw = WEB_FRAME
    frame = mask()
    rounded(frame, (x0 - fw, HEADER_Y1 - 6, x1 + fw, y1 + fw), 10)
    cut = mask()
    ImageDraw.Draw(cut).rectangle([0, 0, W * S, sc(HEADER_Y1 + 2)], fill=255)
    frame = sub_mask(frame, cut)
    drop_shadow(base, frame, 0, 3, 5, 0.9)
    col = metal(STEEL, HEADER_Y1, y1 + fw, 31, 150, 60, 14)
    paint(base, apply_shade(col, shade_map(frame, 2.5, gain=1.6)), frame)
    trim = sub_mask(frame, offset_mask(frame, -2.5))
    trim = sub_mask(trim, cut)
    gilt(base, trim, HEADER_Y1, y1 + fw, 32, 0.8)
    # the page well itself (the web view covers it once loaded)
    well = mask()
    rounded(well, (x0 - 3, y0 - 1, x1 + 3, y1 + 3), 4)
    paint(base, colorize(vband(y0, y1, 0, 255), [(0.0, (12, 16, 24)), (1.0, (5, 7, 11))]), well)
    # a faint light and watermark of the mark, seen while the page loads
    wcx, wcy = (x0 + x1) / 2, (y0 + y1) / 2
    halo = mask()
    ellipse(halo, (wcx - 300, wcy - 190, wcx + 300, wcy + 190))
    paint(base, (22, 34, 52), fade(mul_mask(blur(halo, 70 * S), well), 0.6))
    mark = mask()
    md = ImageDraw.Draw(mark)
    md.ellipse(box((wcx - 96, wcy - 96, wcx + 96, wcy + 96)), outline=255, width=sc(7))
    md.ellipse(box((wcx - 80, wcy - 80, wcx + 80, wcy + 80)), outline=255, width=sc(1.5))
    md.polygon([(sc(x), sc(y)) for x, y in star_points(wcx, wcy, 118, 74, 15)], fill=255)
    inner_star = mask()
    poly(inner_star, star_points(wcx, wcy, 110, 67, 11))
    mark = sub_mask(mark, fade(inner_star, 0.55))
    paint(base, (40, 58, 82), fade(mul_mask(mark, well), 0.22))
    shade_in = sub_mask(well, ImageChops.offset(blur(well, 5 * S), sc(3), sc(4)))
    paint(base, (0, 0, 0), fade(shade_in, 0.85))
    lipb = sub_mask(ImageChops.offset(well, 0, S), well)
    paint(base, (90, 110, 140), fade(lipb, 0.5))
    # corner studs
    for (cx, cy) in ((x0 - fw / 2, y1 + fw / 2), (x1 + fw / 2, y1 + fw / 2)):
        st = mask()
        circle(st, (cx, cy), 3.6)
        gilt(base, st, cy - 4, cy + 4, 33, 0.7)

    # side columns between the banner and the page
    cx = (BANNER_X1 + x0 - fw) / 2 + 2
    groove = mask()
    rounded(groove, (cx - 3, 250, cx + 3, 588), 3)
    paint(base, (2, 4, 8), groove)
    paint(base, (60, 76, 100), fade(sub_mask(ImageChops.offset(groove, S, S), groove), 0.7))
    run = mask()
    ImageDraw.Draw(run).line([sc(cx), sc(262), sc(cx), sc(576)], fill=255, width=sc(1.2))
    prof = vband(262, 576, 0, 255).point(lambda v: int(255 * math.sin(math.pi * v / 255.0) ** 0.7))
    run = mul_mask(run, prof)
    glow(base, run, CYAN, 3, 1.6)
    paint(base, CYAN_HI, run)
    for cy in (242, 596):
        gem(base, diamond(cx, cy, 7, 10), 5)
    for cy in (419,):
        st = mask()
        poly(st, diamond(cx, cy, 11, 16))
        drop_shadow(base, st, 1, 2, 2, 0.9)
        gilt(base, st, cy - 16, cy + 16, 34, 1.0)
        gem(base, diamond(cx, cy, 5, 9), 5)

    # clasp in the bottom rim under the page
    ccx = (x0 + x1) / 2
    cl = mask()
    yb = BODY[3]
    poly(cl, [(ccx - 70, yb - 4), (ccx - 50, yb - 21), (ccx + 50, yb - 21), (ccx + 70, yb - 4)])
    drop_shadow(base, cl, 0, -2, 3, 0.8)
    gilt(base, cl, yb - 21, yb - 4, 35, 1.2)
    gem(base, diamond(ccx, yb - 13, 10, 6.5), 5)
    for sx in (-1, 1):
        gem(base, diamond(ccx + sx * 32, yb - 12.5, 4, 3.5), 3)


def paint_rim(base, body):
    rim = sub_mask(body, offset_mask(body, -RIM))
    gilt(base, rim, BODY[1], BODY[3], 61, 2.0, 235, 45)
    inner_line = sub_mask(offset_mask(body, -(RIM + 2)), offset_mask(body, -(RIM + 3)))
    paint(base, (150, 116, 60), fade(inner_line, 0.45))


def paint_banner(base, banner):
    size = base.size
    bcx = (BANNER_X0 + BANNER_X1) / 2
    bw = float(BANNER_X1 - BANNER_X0)

    def fold(x):
        fx = (x - BANNER_X0) / bw
        v = 0.56 + 0.20 * math.sin(fx * math.pi * 3.0 + 0.6) + 0.10 * math.sin(fx * math.pi * 7.3 + 1.0)
        return 255 * v

    folds = ImageChops.multiply(hband(fold), vband(BANNER_TOP, BANNER_TIP, 255, 160))
    weave = noise(size[0], size[1], 3, 71, 112, 144)
    folds = ImageChops.add(folds, weave, offset=-128)
    cloth = colorize(folds, CRIMSON)
    drop_shadow(base, banner, 7, 5, 8, 0.75)
    paint(base, cloth, banner)
    # darker at the hem and under the rod
    paint(base, (10, 2, 4), fade(mul_mask(banner, vband(BANNER_TOP, BANNER_TOP + 60, 255, 0)), 0.45))

    # embroidered pattern: a faint diamond lattice in the cloth
    lat = mask()
    d = ImageDraw.Draw(lat)
    step = 26
    for k in range(-30, 40):
        x = BANNER_X0 + k * step
        d.line([sc(x), sc(BANNER_TOP), sc(x + 700), sc(BANNER_TOP + 700)], fill=255, width=S)
        d.line([sc(x), sc(BANNER_TOP), sc(x - 700), sc(BANNER_TOP + 700)], fill=255, width=S)
    lat = mul_mask(lat, offset_mask(banner, -18))
    lat = mul_mask(lat, vband(360, 660, 0, 255))
    paint(base, (196, 70, 74), fade(lat, 0.13))

    brim = sub_mask(banner, offset_mask(banner, -6))
    gilt(base, brim, BANNER_TOP, BANNER_TIP, 81, 1.2)
    stitch = sub_mask(offset_mask(banner, -12), offset_mask(banner, -13.5))
    paint(base, (214, 172, 96), fade(stitch, 0.7))

    # wordmark
    wm = wordmark_mask(bcx, 292, 28)
    drop_shadow(base, wm, 1, 3, 2, 1.0)
    gilt(base, wm, 278, 306, 91, 0.8, 250, 70)
    rule = mask()
    rounded(rule, (bcx - 86, 326.5, bcx + 86, 328.5), 1)
    drop_shadow(base, rule, 0, 1, 1, 0.8)
    gilt(base, rule, 326, 329, 92, 0.5)
    gem(base, diamond(bcx, 327.5, 7, 7), 4)

    # ornament below: chevrons, a set stone and a hanging chain of beads
    orn = mask()
    for i, yy in enumerate((372, 391, 410)):
        w2 = 46 - i * 12
        poly(orn, [(bcx - w2, yy), (bcx, yy + 14), (bcx + w2, yy), (bcx + w2, yy + 5),
                   (bcx, yy + 19), (bcx - w2, yy + 5)])
    poly(orn, diamond(bcx, 482, 20, 34))
    ImageDraw.Draw(orn).line([sc(bcx), sc(516), sc(bcx), sc(628)], fill=255, width=sc(2))
    for yy in (548, 588):
        circle(orn, (bcx, yy), 4.2)
    circle(orn, (bcx, 628), 6)
    drop_shadow(base, orn, 1, 3, 2, 0.9)
    gilt(base, orn, 372, 640, 82, 1.0)
    sock = mask()
    poly(sock, diamond(bcx, 482, 13, 24))
    paint(base, (10, 4, 6), sock)
    gem(base, diamond(bcx, 482, 11, 21), 8)


def paint_rod_and_medal(base, rod):
    ry = (ROD[1] + ROD[3]) / 2
    drop_shadow(base, rod, 0, 4, 4, 0.9)
    prof = vband(ry - 11, ry + 11, 0, 255).point(
        lambda v: int(255 * max(0.0, min(1.0, 0.9 - 1.1 * abs(v / 255.0 - 0.36)))))
    col = colorize(prof, GOLD)
    paint(base, col, rod)
    paint(base, (0, 0, 0), fade(sub_mask(rod, offset_mask(rod, -1.2)), 0.35))

    ms = mask()
    circle(ms, (MEDAL_C[0] + 3, MEDAL_C[1] + 6), MEDAL_R + 2)
    paint(base, (0, 0, 0), fade(blur(ms, 6 * S), 0.8))
    em = emblem(2 * MEDAL_R * S, detail=True)
    base.paste(em.convert("RGB"), (sc(MEDAL_C[0] - MEDAL_R), sc(MEDAL_C[1] - MEDAL_R)),
               em.getchannel("A"))


def build_background():
    body, banner, rod, medal = silhouette_parts()
    sil = body
    for m in (banner, rod, medal):
        sil = ImageChops.lighter(sil, m)

    size = (W * S, H * S)
    base = Image.new("RGB", size, (0, 0, 0))
    paint_body(base, body)
    paint_header(base, body)
    paint_web_frame(base)
    paint_rim(base, body)
    paint_banner(base, banner)
    paint_rod_and_medal(base, rod)

    # soft outer glow and a drop shadow, both outside the outline
    out = Image.new("RGBA", size, (0, 0, 0, 0))
    shadow_a = ImageChops.offset(blur(sil, 9 * S), 0, sc(7)).point(lambda v: min(255, v * 2) * 190 // 255)
    out.paste((2, 4, 8), (0, 0), shadow_a)
    out.putalpha(shadow_a)
    glow_a = blur(offset_mask(sil, 2), GLOW_R * S).point(lambda v: min(255, int(v * GLOW_GAIN)))
    glow_layer = Image.new("RGBA", size, (40, 180, 215, 0))
    glow_layer.putalpha(glow_a)
    out = Image.alpha_composite(out, glow_layer)
    body_layer = base.convert("RGBA")
    body_layer.putalpha(sil)
    out = Image.alpha_composite(out, body_layer)
    return out.reduce(S)


# ---------------------------------------------------------------------------
# Wordmark: geometric capitals built from strokes
# ---------------------------------------------------------------------------

def wordmark_mask(cx, cy, h):
    """ORVANTA in wide geometric capitals, centred on (cx, cy), cap height h."""
    sw = h * 0.17
    gap = h * 0.32
    widths = {"O": 0.95, "R": 0.72, "V": 0.86, "A": 0.86, "N": 0.76, "T": 0.78}
    word = "ORVANTA"
    total = sum(widths[c] * h for c in word) + gap * (len(word) - 1)
    x = cx - total / 2
    y0, y1 = cy - h / 2, cy + h / 2
    m = mask()
    d = ImageDraw.Draw(m)
    ws = sc(sw)

    def line(pts):
        d.line([(sc(px), sc(py)) for px, py in pts], fill=255, width=ws, joint="curve")

    def dot(px, py):
        r = sw / 2
        d.ellipse([sc(px - r), sc(py - r), sc(px + r), sc(py + r)], fill=255)

    hw = sw / 2
    for c in word:
        w = widths[c] * h
        if c == "O":
            d.ellipse([sc(x), sc(y0), sc(x + w), sc(y1)], fill=255)
            d.ellipse([sc(x + sw), sc(y0 + sw), sc(x + w - sw), sc(y1 - sw)], fill=0)
        elif c == "R":
            line([(x + hw, y1), (x + hw, y0 + hw), (x + w * 0.55, y0 + hw)])
            bowl_h = h * 0.55
            d.arc([sc(x + w - bowl_h + 0.0), sc(y0 + hw), sc(x + w - hw), sc(y0 + bowl_h)],
                  -90, 90, fill=255, width=ws)
            line([(x + w * 0.55, y0 + bowl_h - hw + 0.5), (x + hw, y0 + bowl_h - hw + 0.5)])
            line([(x + w * 0.45, y0 + bowl_h - hw), (x + w - hw * 0.4, y1)])
        elif c == "V":
            poly(m, [(x, y0), (x + sw * 1.15, y0), (x + w / 2, y1 - sw * 1.9),
                     (x + w - sw * 1.15, y0), (x + w, y0), (x + w / 2 + sw * 0.55, y1),
                     (x + w / 2 - sw * 0.55, y1)])
        elif c == "A":
            poly(m, [(x, y1), (x + sw * 1.15, y1), (x + w / 2, y0 + sw * 1.9),
                     (x + w - sw * 1.15, y1), (x + w, y1), (x + w / 2 + sw * 0.55, y0),
                     (x + w / 2 - sw * 0.55, y0)])
            # short floating crossbar, a detail of the mark
            d.rectangle([sc(x + w * 0.36), sc(y0 + h * 0.66), sc(x + w * 0.64),
                         sc(y0 + h * 0.66 + sw * 0.8)], fill=255)
        elif c == "N":
            d.rectangle([sc(x), sc(y0), sc(x + sw), sc(y1)], fill=255)
            d.rectangle([sc(x + w - sw), sc(y0), sc(x + w), sc(y1)], fill=255)
            poly(m, [(x, y0), (x + sw * 1.2, y0), (x + w, y1), (x + w - sw * 1.2, y1)])
        elif c == "T":
            d.rectangle([sc(x), sc(y0), sc(x + w), sc(y0 + sw)], fill=255)
            d.rectangle([sc(x + w / 2 - hw), sc(y0), sc(x + w / 2 + hw), sc(y1)], fill=255)
        x += w + gap
    return m


# ---------------------------------------------------------------------------
# Quantisation and PNG output
# ---------------------------------------------------------------------------

N_PARTIAL = 67
N_OPAQUE = 256 - 1 - N_PARTIAL  # 188
ALPHA_LO = 16    # below: fully transparent
ALPHA_HI = 248   # at or above: opaque


def median_cut(hist, n):
    """hist: dict colour-tuple -> count.  Returns (palette, mapping)."""
    boxes = [list(hist.items())]

    def spread(bx):
        best = (-1, 0)
        dims = len(bx[0][0])
        for k in range(dims):
            lo = min(c[k] for c, _ in bx)
            hi = max(c[k] for c, _ in bx)
            wsum = sum(cnt for _, cnt in bx)
            score = (hi - lo) * math.sqrt(wsum)
            if score > best[0]:
                best = (score, k)
        return best

    while len(boxes) < n:
        scored = [(spread(bx), i) for i, bx in enumerate(boxes) if len(bx) > 1]
        if not scored:
            break
        (score, k), i = max(scored, key=lambda t: (t[0][0], -t[1]))
        if score <= 0:
            break
        bx = sorted(boxes[i], key=lambda e: (e[0][k], e[0]))
        total = sum(cnt for _, cnt in bx)
        acc = 0
        cut = 1
        for j, (_, cnt) in enumerate(bx):
            acc += cnt
            if acc * 2 >= total:
                cut = max(1, min(len(bx) - 1, j + 1))
                break
        boxes[i:i + 1] = [bx[:cut], bx[cut:]]
    palette, mapping = [], {}
    for idx, bx in enumerate(boxes):
        total = sum(cnt for _, cnt in bx)
        dims = len(bx[0][0])
        mean = tuple(int(round(sum(c[k] * cnt for c, cnt in bx) / total)) for k in range(dims))
        palette.append(mean)
        for c, _ in bx:
            mapping[c] = idx
    return palette, mapping


def quantise_skin(img):
    """RGBA -> (palette RGB list of 256, alpha list of 68, index bytes).

    Index 0 is fully transparent, 1..67 carry the soft edge, 68..255 are
    opaque colours."""
    w, h = img.size
    raw = img.tobytes()
    alpha = raw[3::4]
    npx = w * h
    cls = bytearray(npx)  # 0 transparent, 1 partial, 2 opaque
    for i, a in enumerate(alpha):
        cls[i] = 0 if a < ALPHA_LO else (2 if a >= ALPHA_HI else 1)

    # opaque colours: palette from opaque pixels only, then dithered mapping
    opq = bytearray()
    for i in range(npx):
        if cls[i] == 2:
            opq += raw[4 * i:4 * i + 3]
    sample = Image.frombytes("RGB", (len(opq) // 3, 1), bytes(opq))
    pq = sample.quantize(colors=N_OPAQUE, method=QUANT.MEDIANCUT, dither=DITHER.NONE)
    pal = pq.getpalette()[:3 * N_OPAQUE]
    n_used = len(pal) // 3
    pal += pal[:3] * (256 - n_used)
    first = tuple(pal[:3])
    rgb = bytearray(npx * 3)
    for i in range(npx):
        if cls[i] == 2:
            rgb[3 * i:3 * i + 3] = raw[4 * i:4 * i + 3]
        else:
            rgb[3 * i:3 * i + 3] = bytes(first)
    palimg = Image.new("P", (1, 1))
    palimg.putpalette(pal)
    mapped = Image.frombytes("RGB", (w, h), bytes(rgb)).quantize(
        palette=palimg, dither=DITHER.FLOYDSTEINBERG).tobytes()

    # partial pixels: median cut in RGBA
    hist = {}
    for i in range(npx):
        if cls[i] == 1:
            c = tuple(raw[4 * i:4 * i + 4])
            hist[c] = hist.get(c, 0) + 1
    ppal, pmap = median_cut(hist, N_PARTIAL)
    while len(ppal) < N_PARTIAL:
        ppal.append(ppal[-1])

    out = bytearray(npx)
    for i in range(npx):
        c = cls[i]
        if c == 0:
            out[i] = 0
        elif c == 1:
            out[i] = 1 + pmap[tuple(raw[4 * i:4 * i + 4])]
        else:
            q = mapped[i]
            out[i] = 1 + N_PARTIAL + (q if q < n_used else 0)

    palette = [(0, 0, 0)]
    alphas = [0]
    for r, g, b, a in ppal:
        palette.append((r, g, b))
        alphas.append(max(1, min(254, a)))
    for k in range(N_OPAQUE):
        palette.append(tuple(pal[3 * k:3 * k + 3]) if k < n_used else first)
    return palette, alphas, bytes(out)


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def write_png_palette(path, w, h, palette, alphas, indices, ppm=3780):
    rows = bytearray()
    for y in range(h):
        rows.append(0)
        rows += indices[y * w:(y + 1) * w]
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 3, 0, 0, 0)
    plte = b"".join(bytes(c) for c in palette)
    trns = bytes(alphas)
    phys = struct.pack(">IIB", ppm, ppm, 1)
    idat = zlib.compress(bytes(rows), 9)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(png_chunk(b"IHDR", ihdr))
        f.write(png_chunk(b"PLTE", plte))
        f.write(png_chunk(b"tRNS", trns))
        f.write(png_chunk(b"pHYs", phys))
        f.write(png_chunk(b"IDAT", idat))
        f.write(png_chunk(b"IEND", b""))


# ---------------------------------------------------------------------------
# Header buttons (GIF) and spare button tiles (BMP)
# ---------------------------------------------------------------------------

def button_rgba(glyph, pressed=False, ss=4):
    """Round gilded button, 52x55, lit from above.  glyph: 'close',
    'minimize' or 'gem'.  Returns an RGBA image at 1x."""
    w, h = BTN_W * ss, BTN_H * ss
    u = float(ss)
    cx, cy, r = 26.0 * u, 26.5 * u, 23.0 * u

    def disc(rad, ox=0.0, oy=0.0):
        m = Image.new("L", (w, h), 0)
        ImageDraw.Draw(m).ellipse([cx + ox - rad, cy + oy - rad, cx + ox + rad, cy + oy + rad], fill=255)
        return m

    outer = disc(r)
    inner = disc(r - 4.2 * u)
    ring = ImageChops.subtract(outer, inner)
    rgb = Image.new("RGB", (w, h), (0, 0, 0))

    # shadow below the button
    shadow = ImageChops.offset(blur(outer, 1.8 * u), 0, int(2.2 * u))

    # gold ring
    gold = colorize(vgrad(w, h, 240, 30), GOLD)
    gold = apply_shade(gold, shade_map_local(ring, 1.2 * u))
    rgb.paste(gold, (0, 0), ring)
    dark_gap = ImageChops.subtract(disc(r - 3.4 * u), inner)
    rgb.paste((20, 14, 6), (0, 0), dark_gap)

    # face
    if glyph == "close":
        stops = [(0.0, (26, 4, 8)), (0.55, (92, 16, 28)), (1.0, (168, 46, 54))]
    else:
        stops = [(0.0, (5, 9, 15)), (0.55, (20, 34, 52)), (1.0, (48, 76, 104))]
    face_l = Image.radial_gradient("L").resize((w, int(w * 1.1)), RS.BILINEAR)
    face_l = face_l.crop((0, int(-0.05 * w), w, int(-0.05 * w) + h))
    face_l = ImageChops.invert(face_l)
    if pressed:
        face_l = face_l.point(lambda v: v * 3 // 4)
    face = colorize(face_l, stops)
    rgb.paste(face, (0, 0), inner)
    # inner shadow along the top of the face
    ish = ImageChops.subtract(inner, ImageChops.offset(blur(inner, 2.0 * u), 0, int((2.5 if pressed else 1.5) * u)))
    rgb.paste((0, 0, 0), (0, 0), ish.point(lambda v: v * (230 if pressed else 160) // 255))

    # glyph
    gm = Image.new("L", (w, h), 0)
    d = ImageDraw.Draw(gm)
    gy = cy + (1.0 * u if pressed else 0.0)
    t = 4.2 * u
    if glyph == "close":
        k = 7.4 * u
        for sx in (-1, 1):
            d.line([cx - k, gy - sx * k, cx + k, gy + sx * k], fill=255, width=int(t))
            for ex, ey in ((cx - k, gy - sx * k), (cx + k, gy + sx * k)):
                d.ellipse([ex - t / 2, ey - t / 2, ex + t / 2, ey + t / 2], fill=255)
    elif glyph == "minimize":
        k = 8.5 * u
        yy = gy + 4.5 * u
        d.rounded_rectangle([cx - k, yy - t / 2, cx + k, yy + t / 2], radius=t / 2, fill=255)
    else:
        pts = [(cx, gy - 9 * u), (cx + 6.5 * u, gy), (cx, gy + 9 * u), (cx - 6.5 * u, gy)]
        d.polygon(pts, fill=255)
    gcol_stops = [(0.0, (40, 150, 190)), (0.5, (150, 236, 252)), (1.0, (250, 255, 255))]
    halo = blur(gm, 2.2 * u).point(lambda v: min(255, v * 2) * (150 if not pressed else 110) // 255)
    rgb.paste(ImageChops.screen(rgb, Image.new("RGB", (w, h), CYAN)), (0, 0),
              ImageChops.multiply(halo, inner))
    gshadow = ImageChops.offset(blur(gm, 0.8 * u), int(0.6 * u), int(1.2 * u))
    rgb.paste((0, 0, 0), (0, 0), ImageChops.multiply(gshadow, inner).point(lambda v: v * 180 // 255))
    gfill = colorize(vgrad(w, h, 255, 0), gcol_stops)
    rgb.paste(gfill, (0, 0), gm)

    # glass highlight over the upper half of the face
    gl = Image.new("L", (w, h), 0)
    ImageDraw.Draw(gl).ellipse([cx - 14 * u, cy - 17.5 * u, cx + 14 * u, cy - 1 * u], fill=255)
    gl = ImageChops.multiply(gl, vgrad(w, h, 255, 0).point(lambda v: v * 3 // 5))
    gl = ImageChops.multiply(blur(gl, 1.0 * u), inner)
    if not pressed:
        rgb.paste(ImageChops.screen(rgb, Image.new("RGB", (w, h), (200, 225, 255))), (0, 0),
                  gl.point(lambda v: v * 110 // 255))

    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    img.paste((0, 0, 0, 255), (0, 0), shadow.point(lambda v: v * 150 // 255))
    img.putalpha(shadow.point(lambda v: v * 150 // 255))
    top = rgb.convert("RGBA")
    top.putalpha(outer)
    img = Image.alpha_composite(img, top)
    return img.resize((BTN_W, BTN_H), RS.LANCZOS)


def flatten_on(img, under, threshold):
    """Composite img over `under` (RGB).  Pixels where img's alpha is below
    threshold come back as None (transparent)."""
    comp = Image.alpha_composite(under.convert("RGBA"), img).convert("RGB")
    a = img.getchannel("A").tobytes()
    px = comp.tobytes()
    return [None if a[i] < threshold else tuple(px[3 * i:3 * i + 3]) for i in range(len(a))]


def palettise(pixels, n_colors):
    """pixels: list of RGB tuples (or None).  Returns (palette, indices)
    with indices < n_colors for colours and None kept as None."""
    solid = bytes(v for p in pixels if p is not None for v in p)
    sample = Image.frombytes("RGB", (len(solid) // 3, 1), solid)
    q = sample.quantize(colors=n_colors, method=QUANT.MEDIANCUT, dither=DITHER.NONE)
    pal = q.getpalette()[:3 * n_colors]
    used = len(pal) // 3
    # map each pixel to its nearest palette entry (exact colours first)
    palette = [tuple(pal[3 * i:3 * i + 3]) for i in range(used)]
    cache = {}
    out = []
    for p in pixels:
        if p is None:
            out.append(None)
            continue
        k = cache.get(p)
        if k is None:
            k = min(range(used), key=lambda i: (palette[i][0] - p[0]) ** 2 * 3
                    + (palette[i][1] - p[1]) ** 2 * 4 + (palette[i][2] - p[2]) ** 2 * 2)
            cache[p] = k
        out.append(k)
    return palette, out


def lzw_encode(indices, min_code_size=8):
    """GIF flavoured LZW; returns the packed byte stream."""
    clear = 1 << min_code_size
    eoi = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def emit(code, width):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    width = min_code_size + 1
    table = {}
    next_code = eoi + 1
    emit(clear, width)
    prefix = None
    for k in indices:
        if prefix is None:
            prefix = k
            continue
        key = (prefix, k)
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        emit(prefix, width)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table = {}
            next_code = eoi + 1
            width = min_code_size + 1
        prefix = k
    if prefix is not None:
        emit(prefix, width)
    emit(eoi, width)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def write_gif(path, w, h, palette, indices, transparent=255):
    """Single-frame GIF89a with a 256-entry global colour table and a
    graphic control extension marking `transparent` as see-through."""
    pal = list(palette) + [(0, 0, 0)] * (256 - len(palette))
    pal[transparent] = (255, 255, 255)
    data = lzw_encode(indices, 8)
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", w, h, 0xF7, transparent, 0)
    out += b"".join(bytes(c) for c in pal)
    out += b"\x21\xF9\x04" + struct.pack("<BHB", 0x01, 0, transparent) + b"\x00"
    out += b"\x2C" + struct.pack("<HHHHB", 0, 0, w, h, 0x00)
    out.append(8)
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out += b"\x00\x3B"
    with open(path, "wb") as f:
        f.write(bytes(out))


def write_bmp8(path, w, h, palette, indices, ppm=3780):
    stride = (w + 3) & ~3
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytes(indices[y * w:(y + 1) * w])
        pixels += row + b"\x00" * (stride - w)
    pal = list(palette) + [(0, 0, 0)] * (256 - len(palette))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in pal)
    offset = 14 + 40 + len(table)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(pixels), ppm, ppm, 256, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(head + info + table + bytes(pixels))


def make_buttons(skin_rgba):
    """Header buttons, flattened onto the skin pixels they will cover so the
    one-bit transparency of GIF still gives clean edges."""
    for name, glyph, pos in (("minimize.gif", "minimize", BTN_MIN),
                             ("close.gif", "close", BTN_CLOSE)):
        under = skin_rgba.crop((pos[0], pos[1], pos[0] + BTN_W, pos[1] + BTN_H)).convert("RGB")
        pixels = flatten_on(button_rgba(glyph), under, 40)
        palette, idx = palettise(pixels, 255)
        idx = [255 if k is None else k for k in idx]
        write_gif(os.path.join(OUT_DIR, name), BTN_W, BTN_H, palette, idx)

    # spare generic buttons (raised / pressed) as full tiles
    under = colorize(ImageChops.add(vgrad(BTN_W, BTN_H, 50, 105),
                                    streaks(BTN_W, BTN_H, 20, 7, 120, 136), offset=-128), STEEL)
    for name, pressed in (("spare1.bmp", False), ("spare2.bmp", True)):
        pixels = flatten_on(button_rgba("gem", pressed), under, 0)
        palette, idx = palettise(pixels, 256)
        write_bmp8(os.path.join(OUT_DIR, name), BTN_W, BTN_H, palette, idx)


# ---------------------------------------------------------------------------
# Icon
# ---------------------------------------------------------------------------

ICON_SIZES = (128, 64, 48, 32, 16)


def icon_images():
    imgs = []
    for s in ICON_SIZES:
        if s >= 48:
            im = emblem(s, detail=True)
        else:
            im = emblem(s, detail=False, ss=8)
            im = im.filter(ImageFilter.UnsharpMask(radius=1, percent=60, threshold=0))
        imgs.append(im)
    return imgs


def ico_dib(img):
    w, h = img.size
    px = img.tobytes()
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[4 * (y * w + x):4 * (y * w + x) + 4]
            xor += bytes((b, g, r, a))
    stride = ((w + 31) // 32) * 4
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[4 * (y * w + x) + 3] == 0:
                row[x >> 3] |= 0x80 >> (x & 7)
        andm += row
    head = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
    return head + bytes(xor) + bytes(andm)


def write_ico(path, imgs):
    blobs = [ico_dib(im) for im in imgs]
    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for im, blob in zip(imgs, blobs):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(bytes(out))


# ---------------------------------------------------------------------------
# Main
# ---------------------------------------------------------------------------

def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    skin = build_background()
    palette, alphas, idx = quantise_skin(skin)
    write_png_palette(os.path.join(OUT_DIR, "background.png"), W, H, palette, alphas, idx)
    make_buttons(skin)
    write_ico(os.path.join(OUT_DIR, "launcher.ico"), icon_images())
    print("wrote", ", ".join(sorted(os.listdir(OUT_DIR))))


if __name__ == "__main__":
    main()
