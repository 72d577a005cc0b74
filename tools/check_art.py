#!/usr/bin/env python3
"""Check the generated launcher artwork in res/art/.

    /usr/bin/python3 tools/check_art.py [art-dir]

Parses every file with struct/zlib only and verifies the layout the launcher
relies on.  Prints "ok" and exits 0, or lists the problems and exits 1.
"""

import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ART = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "res", "art")

SKIN_W, SKIN_H = 1298, 727
WEB = (484, 209, 1139, 629)            # x0, y0, x1, y1 (exclusive)
BTN_W, BTN_H = 52, 55
BUTTONS = {"minimize": (1027, 151), "close": (1093, 150)}
ICON_SIZES = (128, 64, 48, 32, 16)
ICON_BYTES = {128: 67624, 64: 16936, 48: 9640, 32: 4264, 16: 1128}

problems = []


def expect(cond, msg):
    if not cond:
        problems.append(msg)
    return cond


def read(name):
    path = os.path.join(ART, name)
    if not expect(os.path.isfile(path), "%s: missing" % name):
        return None
    with open(path, "rb") as f:
        return f.read()


# ---------------------------------------------------------------------------
# background.png
# ---------------------------------------------------------------------------

def png_unfilter(raw, w, h, bpp=1):
    stride = w * bpp
    out = bytearray()
    prev = bytearray(stride)
    pos = 0
    for _ in range(h):
        ft = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ft == 0:
                break
            elif ft == 1:
                line[i] = (line[i] + a) & 0xFF
            elif ft == 2:
                line[i] = (line[i] + b) & 0xFF
            elif ft == 3:
                line[i] = (line[i] + ((a + b) >> 1)) & 0xFF
            elif ft == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pr = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pr) & 0xFF
            else:
                raise ValueError("bad filter type %d" % ft)
        out += line
        prev = line
    return bytes(out)


def check_png():
    name = "background.png"
    data = read(name)
    if data is None:
        return
    if not expect(data[:8] == b"\x89PNG\r\n\x1a\n", name + ": bad signature"):
        return
    pos = 8
    chunks = []
    while pos < len(data):
        if not expect(pos + 8 <= len(data), name + ": truncated chunk header"):
            return
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        crc, = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        expect(zlib.crc32(kind + body) & 0xFFFFFFFF == crc,
               "%s: CRC mismatch in %s" % (name, kind.decode("latin-1")))
        chunks.append((kind.decode("latin-1"), body))
        pos += 12 + length
        if kind == b"IEND":
            break
    expect(pos == len(data), name + ": data after IEND")

    kinds = [k for k, _ in chunks]
    collapsed = [k for i, k in enumerate(kinds) if not (k == "IDAT" and i and kinds[i - 1] == "IDAT")]
    expect(collapsed == ["IHDR", "PLTE", "tRNS", "pHYs", "IDAT", "IEND"],
           "%s: chunk list %s" % (name, kinds))
    get = {}
    for k, b in chunks:
        get.setdefault(k, b)

    ihdr = get.get("IHDR", b"")
    if not expect(len(ihdr) == 13, name + ": IHDR size"):
        return
    w, h, depth, ctype, comp, filt, inter = struct.unpack(">IIBBBBB", ihdr)
    expect((w, h) == (SKIN_W, SKIN_H), "%s: size %dx%d" % (name, w, h))
    expect(depth == 8, "%s: bit depth %d" % (name, depth))
    expect(ctype == 3, "%s: colour type %d" % (name, ctype))
    expect(comp == 0 and filt == 0, name + ": compression/filter method")
    expect(inter == 0, name + ": interlaced")

    plte = get.get("PLTE", b"")
    expect(len(plte) == 256 * 3, "%s: PLTE has %d entries" % (name, len(plte) // 3))
    trns = get.get("tRNS", b"")
    expect(len(trns) == 68, "%s: tRNS has %d entries" % (name, len(trns)))
    expect(list(trns).count(0) == 1, name + ": tRNS needs exactly one fully transparent entry")
    expect(trns[:1] == b"\x00", name + ": palette entry 0 should be the transparent one")
    expect(all(1 <= a <= 254 for a in trns[1:]), name + ": tRNS entries 1..67 must be partial")
    phys = get.get("pHYs", b"")
    expect(phys == struct.pack(">IIB", 3780, 3780, 1), name + ": pHYs is not 3780 px/m")

    if problems or (w, h) != (SKIN_W, SKIN_H):
        return
    raw = zlib.decompress(b"".join(b for k, b in chunks if k == "IDAT"))
    if not expect(len(raw) == h * (w + 1), name + ": image data size"):
        return
    idx = png_unfilter(raw, w, h)
    alpha_of = list(trns) + [255] * (256 - len(trns))
    counts = [0, 0, 0]
    for v in idx:
        a = alpha_of[v]
        counts[0 if a == 0 else 2 if a == 255 else 1] += 1
    n = float(w * h)
    pt, pp, po = (100 * c / n for c in counts)
    expect(26 <= pt <= 32, "%s: %.1f %% fully transparent (want 29 +-3)" % (name, pt))
    expect(4 <= pp <= 10, "%s: %.1f %% partly transparent (want 7 +-3)" % (name, pp))
    expect(61 <= po <= 67, "%s: %.1f %% opaque (want 64 +-3)" % (name, po))

    for (x, y) in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
        expect(alpha_of[idx[y * w + x]] == 0, "%s: corner (%d,%d) not transparent" % (name, x, y))

    def all_opaque(x0, y0, x1, y1):
        return all(alpha_of[idx[y * w + x]] == 255 for y in range(y0, y1) for x in range(x0, x1))

    expect(all_opaque(*WEB), name + ": web view area is not fully opaque")
    for key, (bx, by) in BUTTONS.items():
        expect(all_opaque(bx, by, bx + BTN_W, by + BTN_H),
               "%s: area under the %s button is not fully opaque" % (name, key))
    return pt, pp, po


# ---------------------------------------------------------------------------
# close.gif / minimize.gif
# ---------------------------------------------------------------------------

def lzw_decode(data, min_size):
    clear, eoi = 1 << min_size, (1 << min_size) + 1
    width = min_size + 1
    table = [bytes([i]) for i in range(clear)] + [b"", b""]
    out = bytearray()
    prev = None
    acc = nbits = pos = 0
    while True:
        while nbits < width:
            if pos >= len(data):
                raise ValueError("LZW data ends without end-of-information code")
            acc |= data[pos] << nbits
            pos += 1
            nbits += 8
        code = acc & ((1 << width) - 1)
        acc >>= width
        nbits -= width
        if code == clear:
            width = min_size + 1
            table = table[:eoi + 1]
            prev = None
            continue
        if code == eoi:
            return bytes(out)
        if code < len(table):
            entry = table[code]
            if prev is not None:
                table.append(prev + entry[:1])
        elif code == len(table) and prev is not None:
            entry = prev + prev[:1]
            table.append(entry)
        else:
            raise ValueError("bad LZW code %d" % code)
        out += entry
        prev = entry
        if len(table) == (1 << width) and width < 12:
            width += 1


def check_gif(key):
    name = key + ".gif"
    data = read(name)
    if data is None:
        return
    expect(1500 <= len(data) <= 5000, "%s: %d bytes, expected roughly 2-4 KB" % (name, len(data)))
    if not expect(data[:6] == b"GIF89a", name + ": not GIF89a"):
        return
    w, h, packed, bg, aspect = struct.unpack("<HHBBB", data[6:13])
    expect((w, h) == (BTN_W, BTN_H), "%s: screen %dx%d" % (name, w, h))
    expect(packed & 0x80, name + ": no global colour table")
    expect(packed & 0x07 == 7, name + ": global colour table is not 256 entries")
    gct = data[13:13 + 768]
    expect(gct[255 * 3:256 * 3] == b"\xff\xff\xff", name + ": palette entry 255 is not white")
    pos = 13 + 768
    gce_seen = images = 0
    gce_before_image = False
    pixels = None
    while pos < len(data):
        tag = data[pos]
        if tag == 0x3B:
            pos += 1
            break
        if tag == 0x21:
            label = data[pos + 1]
            expect(label != 0xFF, name + ": application extension present (animation loop?)")
            if label == 0xF9:
                gce_seen += 1
                size, flags, delay, tindex, term = struct.unpack("<BBHBB", data[pos + 2:pos + 8])
                expect(size == 4 and term == 0, name + ": malformed graphic control extension")
                expect(flags & 0x01, name + ": transparency flag not set")
                expect((flags >> 2) & 7 == 0, name + ": disposal method is not 0")
                expect(delay == 0, name + ": delay is not 0")
                expect(tindex == 255, name + ": transparent index is %d, not 255" % tindex)
                gce_before_image = images == 0
                pos += 8
            else:
                pos += 2
                while data[pos]:
                    pos += 1 + data[pos]
                pos += 1
            continue
        if tag == 0x2C:
            images += 1
            x, y, iw, ih, ipacked = struct.unpack("<HHHHB", data[pos + 1:pos + 10])
            expect((x, y, iw, ih) == (0, 0, BTN_W, BTN_H), "%s: image rectangle %s" % (name, (x, y, iw, ih)))
            expect(not ipacked & 0x80, name + ": local colour table present")
            expect(not ipacked & 0x40, name + ": image is interlaced")
            min_size = data[pos + 10]
            pos += 11
            blob = bytearray()
            while data[pos]:
                blob += data[pos + 1:pos + 1 + data[pos]]
                pos += 1 + data[pos]
            pos += 1
            try:
                pixels = lzw_decode(bytes(blob), min_size)
            except ValueError as e:
                problems.append("%s: %s" % (name, e))
            continue
        problems.append("%s: unexpected block 0x%02x" % (name, tag))
        return
    expect(pos == len(data), name + ": data after trailer")
    expect(images == 1, "%s: %d images" % (name, images))
    expect(gce_seen == 1 and gce_before_image, name + ": needs one graphic control extension before the image")
    if pixels is not None and expect(len(pixels) == BTN_W * BTN_H, name + ": pixel count %d" % len(pixels)):
        for (x, y) in ((0, 0), (BTN_W - 1, 0), (0, BTN_H - 1), (BTN_W - 1, BTN_H - 1)):
            expect(pixels[y * BTN_W + x] == 255, "%s: corner (%d,%d) not transparent" % (name, x, y))
        centre = pixels[(BTN_H // 2) * BTN_W + BTN_W // 2]
        expect(centre != 255, name + ": centre of the button is transparent")
        return pixels


# ---------------------------------------------------------------------------
# spare1.bmp / spare2.bmp
# ---------------------------------------------------------------------------

def check_bmp(name):
    data = read(name)
    if data is None:
        return None
    expect(len(data) == 3938, "%s: %d bytes, not 3938" % (name, len(data)))
    if len(data) < 54:
        return None
    sig, fsize, r1, r2, off = struct.unpack("<2sIHHI", data[:14])
    (bsize, w, h, planes, bpp, comp, isize, xppm, yppm,
     used, important) = struct.unpack("<IiiHHIIiiII", data[14:54])
    expect(sig == b"BM", name + ": no BM signature")
    expect(fsize == 3938, "%s: header file size %d" % (name, fsize))
    expect(r1 == 0 and r2 == 0, name + ": reserved fields not zero")
    expect(off == 1078, "%s: pixel offset %d" % (name, off))
    expect(bsize == 40, "%s: info header size %d" % (name, bsize))
    expect((w, h) == (BTN_W, BTN_H), "%s: size %dx%d" % (name, w, h))
    expect(planes == 1 and bpp == 8, "%s: planes/bpp %d/%d" % (name, planes, bpp))
    expect(comp == 0, name + ": not BI_RGB")
    expect(isize in (0, 52 * 55), "%s: image size field %d" % (name, isize))
    expect(xppm == 3780 and yppm == 3780, name + ": resolution is not 3780 px/m")
    expect(used == 256, "%s: biClrUsed %d" % (name, used))
    return data[1078:]


# ---------------------------------------------------------------------------
# launcher.ico
# ---------------------------------------------------------------------------

def check_ico():
    name = "launcher.ico"
    data = read(name)
    if data is None:
        return
    res, typ, count = struct.unpack("<HHH", data[:6])
    expect(res == 0 and typ == 1, name + ": not an icon directory")
    if not expect(count == len(ICON_SIZES), "%s: %d images" % (name, count)):
        return
    end = 6 + 16 * count
    for i, size in enumerate(ICON_SIZES):
        bw, bh, colors, rsv, planes, bitcount, nbytes, off = struct.unpack(
            "<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        tag = "%s: image %d (%dx%d)" % (name, i, size, size)
        expect((bw or 256, bh or 256) == (size, size), "%s: entry says %dx%d" % (tag, bw, bh))
        expect(colors == 0 and rsv == 0, tag + ": colour count / reserved not 0")
        expect(planes == 1 and bitcount == 32, "%s: planes %d bitcount %d" % (tag, planes, bitcount))
        expect(nbytes == ICON_BYTES[size], "%s: %d bytes, want %d" % (tag, nbytes, ICON_BYTES[size]))
        expect(off == end, "%s: offset %d, want %d" % (tag, off, end))
        blob = data[off:off + nbytes]
        if not expect(len(blob) == nbytes, tag + ": truncated"):
            return
        expect(blob[:8] != b"\x89PNG\r\n\x1a\n", tag + ": PNG compressed")
        (bsize, w, h, pl, bpp, comp, isize, xppm, yppm,
         used, important) = struct.unpack("<IiiHHIIiiII", blob[:40])
        expect(bsize == 40, tag + ": not a BITMAPINFOHEADER")
        expect((w, h) == (size, 2 * size), "%s: DIB %dx%d" % (tag, w, h))
        expect(pl == 1 and bpp == 32 and comp == 0, tag + ": DIB is not 32 bpp BI_RGB")
        xor = blob[40:40 + size * size * 4]
        alphas = xor[3::4]
        expect(0 < sum(1 for a in alphas if a == 0) < size * size, tag + ": alpha has no transparent part")
        expect(any(0 < a < 255 for a in alphas), tag + ": alpha is not anti-aliased")
        stride = ((size + 31) // 32) * 4
        andm = blob[40 + size * size * 4:]
        expect(len(andm) == stride * size, tag + ": AND mask size")
        # the mask must agree with alpha: set bits where the pixel is invisible
        bad = 0
        for y in range(size):
            for x in range(size):
                bit = (andm[y * stride + (x >> 3)] >> (7 - (x & 7))) & 1
                if bit != (alphas[y * size + x] == 0):
                    bad += 1
        expect(bad == 0, "%s: AND mask disagrees with alpha in %d pixels" % (tag, bad))
        end += nbytes
    expect(end == len(data), "%s: %d trailing bytes" % (name, len(data) - end))


def main():
    stats = check_png()
    for key in BUTTONS:
        check_gif(key)
    a = check_bmp("spare1.bmp")
    b = check_bmp("spare2.bmp")
    if a is not None and b is not None:
        expect(a != b, "spare1.bmp and spare2.bmp have identical pixels")
    check_ico()
    if problems:
        for p in problems:
            print(p)
        return 1
    if stats:
        print("background.png: %.2f %% transparent, %.2f %% partial, %.2f %% opaque" % stats)
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
