#!/usr/bin/env python3
# Draws Muralto's artwork and writes it beside this file: monitor.bmp (bitmap 101, 177 x 159,
# the main window's preview monitor), banner.bmp (bitmap 102, 281 x 81), their twins at twice
# the size for high-DPI screens, monitor-2x.bmp (bitmap 106, 354 x 318) and banner-2x.bmp
# (bitmap 107, 562 x 162), muralto32.ico (icon group 101, 32 x 32 in 256 colours) and
# muralto48.ico (icon group 102, 48 x 48 in 32-bit and 256 colours). Everything is drawn from
# simple shapes sampled 4 x 4 times per pixel, with Python's standard library only, so the same
# bytes come out on every run; the build uses the committed files and this script is their
# recipe. Re-run it after a change with `python3 app/ui/art/make_art.py`; add `--preview DIR` to
# also get PNG copies (the 1x art also at 4x) to look at. The windows stretch the art to their
# controls at the window's DPI, and the main window paints the 151 x 112 preview over the
# monitor's glass: GLASS_X, GLASS_Y below, in pixels of the 1x bitmap, which app/ui/artwork.h
# repeats.

import argparse
import math
import os
import struct
import zlib

# The glass: the preview's place in the monitor, whole pixels at 1x and 2x.
GLASS_X, GLASS_Y = 12, 15
PREVIEW_W, PREVIEW_H = 151, 112

SS = 4  # samples per pixel along each axis

# The dialog face under Wine 8's default theme; the monitor's corners show it.
FACE = (245, 245, 245)

# Colours shared by the banner and the icons.
INK = (38, 56, 84)
INK_SOFT = (104, 116, 134)
FRAME_EDGE = (86, 98, 116)
MAT = (252, 252, 250)
DAY_SKY = ((84, 150, 214), (170, 212, 240))
DAY_SUN = (255, 196, 64)
DAY_HILL = ((92, 178, 104), (52, 134, 86))
DUSK_SKY = ((238, 120, 92), (252, 196, 120))
DUSK_SUN = (255, 236, 170)
DUSK_HILL = ((150, 92, 140), (104, 66, 116))
NIGHT_SKY = ((30, 44, 92), (62, 84, 146))
NIGHT_MOON = (240, 240, 222)
NIGHT_HILL = ((40, 76, 98), (26, 52, 72))


# ---------------------------------------------------------------------------------------------
# Shapes are signed distance functions in pixel units (negative inside) with a bounding box.

class Shape:
    def __init__(self, sdf, box):
        self.sdf = sdf
        self.box = box  # (x0, y0, x1, y1)


def rect(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return Shape(sdf, (x0, y0, x1, y1))


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    m = min(rx, ry)
    return Shape(lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * m,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def polygon(points):
    n = len(points)
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def sdf(x, y):
        inside = False
        best = 1e9
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
            best = min(best, _segment_distance(x, y, ax, ay, bx, by))
        return -best if inside else best
    return Shape(sdf, (min(xs), min(ys), max(xs), max(ys)))


def _segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def intersect(a, b):
    box = (max(a.box[0], b.box[0]), max(a.box[1], b.box[1]),
           min(a.box[2], b.box[2]), min(a.box[3], b.box[3]))
    return Shape(lambda x, y: max(a.sdf(x, y), b.sdf(x, y)), box)


def subtract(a, b):
    return Shape(lambda x, y: max(a.sdf(x, y), -b.sdf(x, y)), a.box)


def grow(shape, d):
    b = shape.box
    return Shape(lambda x, y: shape.sdf(x, y) - d, (b[0] - d, b[1] - d, b[2] + d, b[3] + d))


def offset(shape, dx, dy):
    b = shape.box
    return Shape(lambda x, y: shape.sdf(x - dx, y - dy),
                 (b[0] + dx, b[1] + dy, b[2] + dx, b[3] + dy))


class Rotation:
    """Turns local coordinates by `degrees` about (cx, cy); shapes and colours drawn through it
    are described upright."""

    def __init__(self, cx, cy, degrees):
        self.cx, self.cy = cx, cy
        a = math.radians(degrees)
        self.c, self.s = math.cos(a), math.sin(a)

    def to_local(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        return self.cx + dx * self.c + dy * self.s, self.cy - dx * self.s + dy * self.c

    def box(self, b):
        pts = []
        for x, y in ((b[0], b[1]), (b[2], b[1]), (b[0], b[3]), (b[2], b[3])):
            dx, dy = x - self.cx, y - self.cy
            pts.append((self.cx + dx * self.c - dy * self.s, self.cy + dx * self.s + dy * self.c))
        return (min(p[0] for p in pts), min(p[1] for p in pts),
                max(p[0] for p in pts), max(p[1] for p in pts))


# ---------------------------------------------------------------------------------------------
# Colours: a tuple, or a function of the (local) point giving a tuple.

def vertical(y0, c0, y1, c1):
    def colour(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))
    return colour


def horizontal(x0, c0, x1, c1):
    def colour(x, y):
        t = max(0.0, min(1.0, (x - x0) / (x1 - x0)))
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))
    return colour


def mirrored(x0, x1, edge, middle):
    """Brightest along the middle, as a rounded metal part catches the light."""
    def colour(x, y):
        t = abs((x - x0) / (x1 - x0) * 2 - 1)
        t = t * t
        return tuple(m + (e - m) * t for e, m in zip(edge, middle))
    return colour


# ---------------------------------------------------------------------------------------------
# A supersampled canvas with premultiplied RGBA samples in 0..1.

class Canvas:
    """`w` x `h` units of drawing, each `scale` x `scale` pixels: the same drawing makes the 1x
    bitmap and its 2x twin for high-DPI screens."""

    def __init__(self, w, h, background=None, scale=1):
        self.w, self.h = w * scale, h * scale
        self.unit = SS * scale  # samples per unit along each axis
        self.sw, self.sh = self.w * SS, self.h * SS
        n = self.sw * self.sh
        if background is None:
            r = g = b = a = 0.0
        else:
            r, g, b = (c / 255 for c in background)
            a = 1.0
        self.r, self.g, self.b, self.a = [r] * n, [g] * n, [b] * n, [a] * n

    def paint(self, shape, colour, alpha=1.0, soft=0.0, rotation=None):
        """Lays `colour` over the samples inside `shape`; `soft` > 0 fades the edge over that many
        units (shadows and glows)."""
        box = shape.box if rotation is None else rotation.box(shape.box)
        pad = soft
        unit = self.unit
        i0 = max(0, int(math.floor((box[0] - pad) * unit)))
        i1 = min(self.sw, int(math.ceil((box[2] + pad) * unit)))
        j0 = max(0, int(math.floor((box[1] - pad) * unit)))
        j1 = min(self.sh, int(math.ceil((box[3] + pad) * unit)))
        sdf = shape.sdf
        flat = not callable(colour)
        if flat:
            cr, cg, cb = (c / 255 for c in colour)
        R, G, B, A = self.r, self.g, self.b, self.a
        for j in range(j0, j1):
            y = (j + 0.5) / unit
            row = j * self.sw
            for i in range(i0, i1):
                x = (i + 0.5) / unit
                lx, ly = (x, y) if rotation is None else rotation.to_local(x, y)
                d = sdf(lx, ly)
                if soft > 0:
                    cover = 0.5 - d / soft
                    if cover <= 0:
                        continue
                    if cover > 1:
                        cover = 1.0
                    else:
                        cover = cover * cover * (3 - 2 * cover)
                elif d > 0:
                    continue
                else:
                    cover = 1.0
                k = alpha * cover
                if not flat:
                    cr, cg, cb = (c / 255 for c in colour(lx, ly))
                idx = row + i
                keep = 1.0 - k
                R[idx] = cr * k + R[idx] * keep
                G[idx] = cg * k + G[idx] * keep
                B[idx] = cb * k + B[idx] * keep
                A[idx] = k + A[idx] * keep

    def pixels(self):
        """Rows of (r, g, b, a) in 0..255, top row first, colours no longer premultiplied."""
        out = []
        n = SS * SS
        for y in range(self.h):
            row = []
            for x in range(self.w):
                r = g = b = a = 0.0
                for j in range(y * SS, y * SS + SS):
                    base = j * self.sw + x * SS
                    for idx in range(base, base + SS):
                        r += self.r[idx]
                        g += self.g[idx]
                        b += self.b[idx]
                        a += self.a[idx]
                r, g, b, a = r / n, g / n, b / n, a / n
                if a > 0:
                    r, g, b = r / a, g / a, b / a
                row.append(tuple(max(0, min(255, int(v * 255 + 0.5))) for v in (r, g, b, a)))
            out.append(row)
        return out


# ---------------------------------------------------------------------------------------------
# A monoline rounded alphabet, only the letters the artwork needs. Units: baseline 0, x-height
# 5, capitals 7, y upwards. Each glyph is (advance, strokes); a stroke is a line
# ("L", x0, y0, x1, y1, ...) through its points, or an arc ("A", cx, cy, r, start, sweep) in
# degrees counter-clockwise.

GLYPHS = {
    "M": (6.0, [("L", 0, 0, 0, 7, 3, 2.4, 6, 7, 6, 0)]),
    "W": (7.6, [("L", 0, 7, 1.9, 0, 3.8, 6.2, 5.7, 0, 7.6, 7)]),
    "S": (3.8, [("A", 1.9, 5.25, 1.75, 25, 245), ("A", 1.9, 1.75, 1.75, 90, -260)]),
    "a": (5.0, [("A", 2.5, 2.5, 2.5, 0, 360), ("L", 5, 5, 5, 0)]),
    "c": (4.7, [("A", 2.5, 2.5, 2.5, 45, 270)]),
    "e": (5.0, [("L", 0.1, 2.5, 5, 2.5), ("A", 2.5, 2.5, 2.5, 0, 318)]),
    "l": (0.0, [("L", 0, 0, 0, 7.4)]),
    "n": (5.0, [("L", 0, 0, 0, 5), ("A", 2.5, 2.5, 2.5, 180, -180), ("L", 5, 2.5, 5, 0)]),
    "o": (5.0, [("A", 2.5, 2.5, 2.5, 0, 360)]),
    "p": (5.0, [("L", 0, 5, 0, -2.3), ("A", 2.5, 2.5, 2.5, 0, 360)]),
    "q": (5.0, [("A", 2.5, 2.5, 2.5, 0, 360), ("L", 5, 5, 5, -2.3)]),
    "r": (3.1, [("L", 0, 0, 0, 5), ("A", 2.5, 2.5, 2.5, 180, -102)]),
    "t": (2.9, [("L", 0.9, 6.6, 0.9, 1.3), ("A", 2.2, 1.3, 1.3, 180, 90), ("L", 2.2, 0, 2.9, 0),
                ("L", -0.3, 5, 2.7, 5)]),
    "u": (5.0, [("L", 0, 5, 0, 2.5), ("A", 2.5, 2.5, 2.5, 180, 180), ("L", 5, 5, 5, 0)]),
    " ": (1.2, []),
}

# Spacing between neighbours in units, tightened where round letters meet.
KERN = {"Mu": 0.1, "ra": -0.5, "lt": -0.2, "to": -0.35, "Wa": -0.7, "Se": 0.0, "ap": 0.0}


def _arc_distance(x, y, cx, cy, r, start, sweep):
    if sweep < 0:
        start, sweep = start + sweep, -sweep
    angle = math.degrees(math.atan2(cy - y, x - cx))  # y is down in pixel space
    if sweep >= 360 or (angle - start) % 360 <= sweep:
        return abs(math.hypot(x - cx, y - cy) - r)
    best = 1e9
    for a in (start, start + sweep):
        t = math.radians(a)
        best = min(best, math.hypot(x - (cx + r * math.cos(t)), y - (cy - r * math.sin(t))))
    return best


def glyph_shape(ch, ox, baseline, unit, weight):
    """The glyph with its origin at (ox, baseline) in pixels, strokes `weight` pixels wide."""
    strokes = []
    xs, ys = [], []
    for s in GLYPHS[ch][1]:
        if s[0] == "L":
            pts = [(ox + s[k] * unit, baseline - s[k + 1] * unit) for k in range(1, len(s), 2)]
            strokes.append(("L", pts))
            xs += [p[0] for p in pts]
            ys += [p[1] for p in pts]
        else:
            _, cx, cy, r, start, sweep = s
            strokes.append(("A", (ox + cx * unit, baseline - cy * unit, r * unit, start, sweep)))
            xs += [ox + (cx - r) * unit, ox + (cx + r) * unit]
            ys += [baseline - (cy + r) * unit, baseline - (cy - r) * unit]
    half = weight / 2

    def sdf(x, y):
        best = 1e9
        for kind, data in strokes:
            if kind == "L":
                for (ax, ay), (bx, by) in zip(data, data[1:]):
                    best = min(best, _segment_distance(x, y, ax, ay, bx, by))
            else:
                best = min(best, _arc_distance(x, y, *data))
        return best - half
    return Shape(sdf, (min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half))


def text_width(text, unit, tracking):
    width = 0.0
    for k, ch in enumerate(text):
        width += GLYPHS[ch][0]
        if k + 1 < len(text):
            width += tracking + KERN.get(ch + text[k + 1], 0.0)
    return width * unit


def draw_text(canvas, text, x, baseline, unit, weight, tracking, colour):
    for k, ch in enumerate(text):
        if GLYPHS[ch][1]:
            canvas.paint(glyph_shape(ch, x, baseline, unit, weight), colour)
        x += GLYPHS[ch][0] * unit
        if k + 1 < len(text):
            x += (tracking + KERN.get(ch + text[k + 1], 0.0)) * unit


# ---------------------------------------------------------------------------------------------
# Framed landscapes: the motif shared by the banner and the icons.

SCENES = {
    "day": (DAY_SKY, DAY_SUN, DAY_HILL),
    "dusk": (DUSK_SKY, DUSK_SUN, DUSK_HILL),
    "night": (NIGHT_SKY, NIGHT_MOON, NIGHT_HILL),
}


def draw_landscape(canvas, x0, y0, x1, y1, scene, rotation=None, sun_x=0.70):
    """Sky, a sun (or moon) at `sun_x` of the width and two hills inside the picture
    (x0, y0)-(x1, y1)."""
    sky, sun, hills = SCENES[scene]
    w, h = x1 - x0, y1 - y0
    picture = rect(x0, y0, x1, y1)
    canvas.paint(picture, vertical(y0, sky[0], y1, sky[1]), rotation=rotation)
    if scene == "night":
        moon = circle(x0 + w * sun_x, y0 + h * 0.30, h * 0.15)
        bite = circle(x0 + w * sun_x + h * 0.08, y0 + h * 0.30 - h * 0.05, h * 0.13)
        canvas.paint(intersect(subtract(moon, bite), picture), sun, rotation=rotation)
        for sx, sy in ((0.52, 0.18), (0.66, 0.40), (0.12, 0.16), (0.80, 0.14)):
            canvas.paint(circle(x0 + w * sx, y0 + h * sy, max(0.35, h * 0.025)), sun,
                         alpha=0.85, rotation=rotation)
    else:
        sy = 0.34 if scene == "day" else 0.58
        glow = circle(x0 + w * sun_x, y0 + h * sy, h * 0.17)
        canvas.paint(intersect(grow(glow, h * 0.10), picture), sun, alpha=0.25,
                     soft=h * 0.16, rotation=rotation)
        canvas.paint(intersect(glow, picture), sun, rotation=rotation)
    far = circle(x0 + w * 0.78, y0 + h * 1.55, h * 0.88)
    near = circle(x0 + w * 0.18, y0 + h * 1.72, h * 1.02)
    canvas.paint(intersect(far, picture), hills[0], rotation=rotation)
    canvas.paint(intersect(near, picture), hills[1], rotation=rotation)


def draw_frame(canvas, cx, cy, w, h, degrees, scene, mat, edge_colour=FRAME_EDGE,
               shadow=0.22, sun_x=0.70):
    """A picture frame centred on (cx, cy), turned by `degrees`, with a soft shadow."""
    turn = Rotation(cx, cy, degrees) if degrees else None
    x0, y0, x1, y1 = cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2
    outer = rect(x0, y0, x1, y1, 1.2)
    if shadow:
        canvas.paint(offset(outer, 0.6, 1.6), (20, 28, 40), alpha=shadow, soft=3.5, rotation=turn)
    canvas.paint(outer, edge_colour, rotation=turn)
    canvas.paint(rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 0.6), MAT, rotation=turn)
    px0, py0, px1, py1 = x0 + 1 + mat, y0 + 1 + mat, x1 - 1 - mat, y1 - 1 - mat
    draw_landscape(canvas, px0, py0, px1, py1, scene, rotation=turn, sun_x=sun_x)
    # A faint line where the picture meets the mat gives it depth.
    edge = subtract(rect(px0 - 0.5, py0 - 0.5, px1 + 0.5, py1 + 0.5), rect(px0, py0, px1, py1))
    canvas.paint(edge, (0, 0, 0), alpha=0.12, rotation=turn)


# ---------------------------------------------------------------------------------------------
# The monitor: a slim dark bezel round the screen, a chin, a brushed-metal neck and foot.

def make_monitor(scale=1):
    W, H = 177, 159
    gx0, gy0 = GLASS_X, GLASS_Y
    gx1, gy1 = gx0 + PREVIEW_W, gy0 + PREVIEW_H
    bezel = 8
    chin = 12
    bx0, by0, bx1, by1 = gx0 - bezel, gy0 - bezel, gx1 + bezel, gy1 + chin
    cx = (gx0 + gx1) / 2
    c = Canvas(W, H, FACE, scale)

    # Foot and its shadow on the desk.
    foot_top = by1 + 11
    c.paint(ellipse(cx, H - 2.6, 50, 2.6), (0, 0, 0), alpha=0.22, soft=3.0)
    foot = grow(polygon([(cx - 31, foot_top + 1.5), (cx + 31, foot_top + 1.5),
                         (cx + 40.5, H - 4.5), (cx - 40.5, H - 4.5)]), 1.5)
    c.paint(foot, (118, 122, 128))
    c.paint(grow(foot, -0.9), vertical(foot_top, (232, 234, 237), H - 3, (172, 176, 182)))
    c.paint(rect(cx - 30, foot_top + 0.9, cx + 30, foot_top + 1.9, 0.5), (255, 255, 255),
            alpha=0.8)

    # Neck, slightly narrower at the top, shaded where the body overhangs it.
    neck = polygon([(cx - 11, by1 - 2), (cx + 11, by1 - 2), (cx + 14, foot_top + 1),
                    (cx - 14, foot_top + 1)])
    c.paint(grow(neck, 0.8), (122, 126, 132))
    c.paint(neck, mirrored(cx - 14, cx + 14, (168, 172, 178), (222, 224, 228)))
    c.paint(rect(cx - 16, by1 - 2, cx + 16, by1 + 3.5), (0, 0, 0), alpha=0.22, soft=3.0)

    # Body: a dark outline for definition on a light dialog, then the bezel's gentle gradient.
    c.paint(offset(rect(bx0, by0, bx1, by1, 6), 0, 1.2), (0, 0, 0), alpha=0.18, soft=3.0)
    c.paint(rect(bx0, by0, bx1, by1, 6), (30, 33, 38))
    c.paint(rect(bx0 + 1, by0 + 1, bx1 - 1, by1 - 1, 5),
            vertical(by0, (78, 83, 91), by1, (50, 54, 60)))
    # Light catching the top edge and a darker chin edge.
    c.paint(intersect(subtract(rect(bx0 + 1, by0 + 1, bx1 - 1, by1 - 1, 5),
                               rect(bx0 + 1, by0 + 2, bx1 - 1, by1 - 1, 5)),
                      rect(bx0, by0, bx1, by0 + 6)), (255, 255, 255), alpha=0.30)
    c.paint(intersect(subtract(rect(bx0 + 1, by0 + 1, bx1 - 1, by1 - 1, 5),
                               rect(bx0 + 1, by0 + 1, bx1 - 1, by1 - 2, 5)),
                      rect(bx0, by1 - 6, bx1, by1)), (0, 0, 0), alpha=0.25)

    # Chin details: a small mark of stacked frames in the middle, a power light on the right.
    my = (gy1 + by1) / 2
    c.paint(rect(cx - 4.5, my - 3.0, cx + 1.5, my + 1.0, 0.6), (118, 124, 134))
    c.paint(rect(cx - 1.5, my - 1.0, cx + 4.5, my + 3.0, 0.6), (150, 156, 166))
    c.paint(circle(gx1 - 6, my, 2.6), (90, 220, 150), alpha=0.25, soft=2.4)
    c.paint(circle(gx1 - 6, my, 1.1), (120, 232, 170))

    # The screen: a thin black lip, then the glass. The glass is painted over by the preview
    # and so stays a plain rectangle on whole pixels.
    c.paint(rect(gx0 - 1, gy0 - 1, gx1 + 1, gy1 + 1), (14, 15, 18))
    c.paint(rect(gx0, gy0, gx1, gy1), vertical(gy0, (40, 48, 60), gy1, (20, 24, 31)))
    sheen = intersect(polygon([(gx0, gy0), (gx0 + 70, gy0), (gx0 + 22, gy1), (gx0, gy1)]),
                      rect(gx0, gy0, gx1, gy1))
    c.paint(sheen, (255, 255, 255), alpha=0.04)
    return c


# ---------------------------------------------------------------------------------------------
# The banner: three fanned frames (night, dusk, day) and the name with its subtitle.

def make_banner(scale=1):
    W, H = 281, 81
    c = Canvas(W, H, (250, 250, 249), scale)
    c.paint(rect(0, 0, W, H), vertical(0, (252, 252, 251), H, (232, 233, 235)))
    # A soft pool of light behind the frames.
    c.paint(circle(44, 40, 20), (255, 255, 255), alpha=0.8, soft=30)

    draw_frame(c, 31, 35, 44, 34, -15, "night", 2.3, sun_x=0.26)
    draw_frame(c, 44, 37, 44, 34, -3, "dusk", 2.3, sun_x=0.2)
    draw_frame(c, 58, 45, 44, 34, 9, "day", 2.3, edge_colour=INK)

    unit, weight = 4.3, 4.4
    title = "Muralto"
    tx = 98
    draw_text(c, title, tx + weight / 2, 47, unit, weight, 1.95, INK)
    title_w = text_width(title, unit, 1.95) + weight
    sub = "Wallpaper Sequencer"
    su, sw = 1.36, 1.22
    sub_w = text_width(sub, su, 2.3) + sw
    # The subtitle is centred under the name, and a thin rule in the sky's blue parts them.
    sx = tx + (title_w - sub_w) / 2
    c.paint(rect(tx + 1, 53.4, tx + title_w - 1, 54.4, 0.5),
            horizontal(tx, DAY_SKY[0], tx + title_w, DUSK_SKY[0]))
    draw_text(c, sub, sx + sw / 2, 66.5, su, sw, 2.3, INK_SOFT)
    return c


# ---------------------------------------------------------------------------------------------
# Icons: two stacked frames, the back one at dusk, the front one by day, on whole pixels.

def make_icon(size, shadow):
    c = Canvas(size, size)
    s = size / 32

    def snap(v):
        return round(v * s)

    layout = ((11, 3, 31, 20, "dusk", FRAME_EDGE), (1, 10, 23, 28, "day", INK))
    for x0, y0, x1, y1, scene, edge in layout:
        x0, y0, x1, y1 = snap(x0), snap(y0), snap(x1), snap(y1)
        outer = rect(x0, y0, x1, y1, 1.0 * s)
        if shadow:
            c.paint(offset(outer, 0.5 * s, 1.2 * s), (10, 20, 30), alpha=0.35, soft=2.0 * s)
        c.paint(outer, edge)
        c.paint(rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 0.5), MAT)
        m = 1 + (2 if size >= 48 else 1)
        draw_landscape(c, x0 + m, y0 + m, x1 - m, y1 - m, scene)
    return c


# ---------------------------------------------------------------------------------------------
# File writers.

def bmp24(rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        for r, g, b, _ in row:
            data += bytes((b, g, r))
        data += bytes(stride - w * 3)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    return file_header + header + bytes(data)


def _and_mask(rows, opaque):
    w = len(rows[0])
    stride = ((w + 31) // 32) * 4
    out = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, px in enumerate(row):
            if not opaque(px):
                bits[x >> 3] |= 0x80 >> (x & 7)
        out += bits
    return bytes(out)


def icon_image32(rows):
    h, w = len(rows), len(rows[0])
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a) if a else (0, 0, 0, 0))
    mask = _and_mask(rows, lambda px: px[3] > 0)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + mask


def _flatten(px, matte):
    """An 8-bit icon has no partial transparency: a mostly covered pixel keeps its colour mixed
    with a light grey, the rest is left to the mask."""
    r, g, b, a = px
    if a < 128:
        return None
    t = a / 255
    return tuple(int(c * t + m * (1 - t) + 0.5) for c, m in zip((r, g, b), matte))


def _median_cut(colours, limit):
    """Deterministic median cut of a {colour: count} table into at most `limit` colours."""
    boxes = [sorted(colours.items())]
    while len(boxes) < limit:
        best, best_range, best_axis = None, -1, 0
        for k, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for axis in range(3):
                vals = [c[0][axis] for c in box]
                spread = max(vals) - min(vals)
                if spread > best_range:
                    best, best_range, best_axis = k, spread, axis
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda c: (c[0][best_axis], c[0]))
        total = sum(n for _, n in box)
        acc, cut = 0, 1
        for cut in range(1, len(box)):
            acc += box[cut - 1][1]
            if acc * 2 >= total:
                break
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(sum(c[i] * n for c, n in box) / total + 0.5) for i in range(3)))
    return palette


def icon_image8(rows, matte=(212, 208, 200)):
    h, w = len(rows), len(rows[0])
    flat = [[_flatten(px, matte) for px in row] for row in rows]
    counts = {}
    for row in flat:
        for px in row:
            if px is not None:
                counts[px] = counts.get(px, 0) + 1
    palette = sorted(counts) if len(counts) <= 255 else sorted(set(_median_cut(counts, 255)))
    palette = [(0, 0, 0)] + [p for p in palette if p != (0, 0, 0)]
    cache = {}

    def index(px):
        if px is None:
            return 0
        if px not in cache:
            cache[px] = min(range(len(palette)),
                            key=lambda k: (sum((a - b) ** 2 for a, b in zip(px, palette[k])), k))
        return cache[px]
    pixels = bytearray()
    stride = (w + 3) & ~3
    for row in reversed(flat):
        pixels += bytes(index(px) for px in row) + bytes(stride - w)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette) + bytes(4 * (256 - len(palette)))
    mask = _and_mask(flat, lambda px: px is not None)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 8, 0, len(pixels) + len(mask), 0, 0,
                         256, 0)
    return header + table + bytes(pixels) + mask


def ico(images):
    """images: (width, height, bit count, image bytes)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for w, h, bits, blob in images:
        colours = 0 if bits >= 8 else 1 << bits
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, colours, 0, 1, bits, len(blob),
                               offset)
        blobs += blob
        offset += len(blob)
    return out + entries + blobs


def png(rows, scale=1, background=None):
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        line = bytearray()
        for r, g, b, a in row:
            if background is not None:
                t = a / 255
                r, g, b = (int(c * t + m * (1 - t) + 0.5) for c, m in zip((r, g, b), background))
                a = 255
            line += bytes((r, g, b, a)) * scale
        for _ in range(scale):
            raw += b"\0" + line

    def chunk(kind, data):
        crc = struct.pack(">I", zlib.crc32(kind + data))
        return struct.pack(">I", len(data)) + kind + data + crc
    header = struct.pack(">IIBBBBB", w * scale, h * scale, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main():
    parser = argparse.ArgumentParser(description="Draws Muralto's bitmaps and icons.")
    parser.add_argument("--preview", metavar="DIR", help="also write PNG copies into DIR")
    args = parser.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))

    monitor = make_monitor().pixels()
    banner = make_banner().pixels()
    monitor2x = make_monitor(2).pixels()
    banner2x = make_banner(2).pixels()
    icon32 = make_icon(32, shadow=False).pixels()
    icon48 = make_icon(48, shadow=True).pixels()
    icon48_flat = make_icon(48, shadow=False).pixels()

    outputs = {
        "monitor.bmp": bmp24(monitor),
        "banner.bmp": bmp24(banner),
        "monitor-2x.bmp": bmp24(monitor2x),
        "banner-2x.bmp": bmp24(banner2x),
        "muralto32.ico": ico([(32, 32, 8, icon_image8(icon32))]),
        "muralto48.ico": ico([(48, 48, 32, icon_image32(icon48)),
                              (48, 48, 8, icon_image8(icon48_flat))]),
    }
    for name, data in outputs.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)

    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        for name, rows, bg in (("monitor", monitor, None), ("banner", banner, None),
                               ("icon32", icon32, FACE), ("icon48", icon48, FACE)):
            for scale in (1, 4):
                with open(os.path.join(args.preview, "%s-%dx.png" % (name, scale)), "wb") as f:
                    f.write(png(rows, scale, bg))
        for name, rows in (("monitor-2x", monitor2x), ("banner-2x", banner2x)):
            with open(os.path.join(args.preview, name + ".png"), "wb") as f:
                f.write(png(rows))


if __name__ == "__main__":
    main()
