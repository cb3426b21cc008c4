#!/usr/bin/python3
"""Draws every bitmap the Caldwex Uninstaller window uses and writes them next to
this script.

Run with Debian's python3 (python3-pil); fonts come from fonts-dejavu-core.
The output is deterministic: running the script twice gives the same bytes, so
the generated files are committed and only regenerated when the art changes.

Every picture is drawn for four screen densities: 96 dpi (the layout's own, file
NAME.png) and 120, 144 and 192 dpi (NAME_125.png, NAME_150.png, NAME_200.png).
Design coordinates are 96-dpi pixels; S() turns a length into pixels at the
density being drawn, rounded as the program rounds its layout.

Shapes are drawn at SS times the final size and box-filtered down, which keeps
flat areas at their exact colour while giving smooth edges. Text is rendered at
its final size so FreeType's hinting keeps small captions crisp.
"""

import io
import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

OUT = os.path.dirname(os.path.abspath(__file__))
SS = 4  # supersampling factor for vector shapes

# ---------------------------------------------------------------- densities
DPIS = (96, 120, 144, 192)
K = 1.0  # pixels per design pixel at the density being drawn; set by main()


def S(v):
    """A design length in pixels at the density being drawn, rounded half up."""
    return int(math.floor(v * K + 0.5))


def SB(box):
    """A box (x0, y0, x1, y1) of design pixels, its edges scaled one by one."""
    return tuple(S(v) for v in box)

# ---------------------------------------------------------------- palette
OUTLINE = (43, 43, 44)
BODY = (77, 76, 78)
BAND_TOP = (185, 8, 14)
BAND_BOTTOM = (196, 11, 20)
FIELD = (250, 243, 244)
PANEL = (207, 206, 207)
FRAME = (120, 119, 122)
MAGNIFIER = (128, 126, 130)
GOLD_TOP = (255, 222, 120)
GOLD_BOTTOM = (214, 158, 36)
YELLOW = (233, 240, 18)
HEADER = (113, 111, 114)
TILE = (103, 102, 104)
TILE_TEXT = (246, 246, 246)
TAB_TEXT = (52, 51, 54)
MIN_HOVER = (233, 1, 1)
CLOSE_HOVER = (236, 8, 8)
ICON_BG = (240, 240, 240)

# ---------------------------------------------------------------- window layout
SKIN_W, SKIN_H = 870, 619
CORNER = 6                       # matches the 11x11 rounded window region
BORDER = 3
BAND = (154, 53, 857, 127)       # x0, y0, x1, y1 (exclusive ends)
PANEL_BOX = (155, 127, 856, 599)
FRAME_BOX = (165, 138, 851, 591)  # inclusive corners of the 1px frame
HOUSE = (167, 62, 198, 93)
SEARCH = (216, 72, 719, 100)


FONT_DIR = "/usr/share/fonts/truetype/dejavu"   # fonts-dejavu-core


def font(name, size):
    path = os.path.join(FONT_DIR, name)
    if not os.path.exists(path):
        sys.exit("generate.py: %s is missing (install fonts-dejavu-core)" % path)
    return ImageFont.truetype(path, size)


# ---------------------------------------------------------------- drawing helpers
def shape_mask(size, draw, ss=SS):
    """Renders draw(ImageDraw, scale) into an L mask at ss times size, then shrinks it.

    size is in pixels; draw gets the factor from design pixels to the mask's pixels."""
    w, h = size
    big = Image.new("L", (w * ss, h * ss), 0)
    draw(ImageDraw.Draw(big), ss * K)
    return big.resize((w, h), Image.BOX) if ss > 1 else big


def paint(img, mask, colour, offset=(0, 0)):
    """Composites colour (RGB tuple or RGBA image) through mask onto img."""
    if isinstance(colour, Image.Image):
        layer = colour.convert("RGBA")
        alpha = ImageChops.multiply(layer.getchannel("A"), mask)
    else:
        layer = Image.new("RGBA", mask.size, tuple(colour[:3]) + (255,))
        alpha = mask
    layer.putalpha(alpha)
    img.alpha_composite(layer, offset)


def vgradient(size, stops):
    """RGBA image with a vertical gradient; stops are (t, (r, g, b)) with t in 0..1."""
    w, h = size
    col = Image.new("RGBA", (1, h))
    px = col.load()
    for y in range(h):
        t = y / (h - 1) if h > 1 else 0.0
        for i in range(len(stops) - 1):
            t0, c0 = stops[i]
            t1, c1 = stops[i + 1]
            if t0 <= t <= t1:
                f = 0.0 if t1 == t0 else (t - t0) / (t1 - t0)
                px[0, y] = tuple(int(round(c0[k] + (c1[k] - c0[k]) * f)) for k in range(3)) + (255,)
                break
    return col.resize((w, h), Image.NEAREST)


def text_mask(size, text, fnt, xy, anchor="ls"):
    m = Image.new("L", size, 0)
    ImageDraw.Draw(m).text(xy, text, font=fnt, fill=255, anchor=anchor)
    return m


def shadow_of(mask, offset, blur, strength):
    """Soft drop shadow: the mask shifted, blurred and scaled to strength (0..1)."""
    sh = Image.new("L", mask.size, 0)
    sh.paste(mask, offset)
    if blur:
        sh = sh.filter(ImageFilter.GaussianBlur(blur))
    return sh.point(lambda v: int(round(v * strength)))


def rrect(box, r):
    """Draw callback for a rounded rectangle; box uses exclusive right/bottom edges."""
    x0, y0, x1, y1 = box

    def draw(d, s):
        d.rounded_rectangle([x0 * s, y0 * s, x1 * s - 1, y1 * s - 1], radius=r * s, fill=255)
    return draw


def save_png(img, name):
    path = os.path.join(OUT, name)
    img.save(path, "PNG", optimize=True)
    return path


# ---------------------------------------------------------------- logo mark
CUP_W, CUP_H = 46.0, 44.0
CUPS = [(28.0, 8.0), (72.0, 8.0), (50.0, 47.0)]   # (centre x, rim y): two above, one below


def cup_body(cx, top):
    """Polygon for a cup body: flared sides down to a rounded base."""
    pts = [(cx - CUP_W / 2, top)]
    base_rx, base_ry = CUP_W * 0.30, CUP_H * 0.30
    base_cy = top + CUP_H - base_ry
    steps = 32
    for i in range(steps + 1):
        a = math.pi - math.pi * i / steps
        pts.append((cx + base_rx * math.cos(a), base_cy + base_ry * math.sin(a)))
    pts.append((cx + CUP_W / 2, top))
    return pts


def draw_mark(size, top_colour, bottom_colour, mouth_colour, edge_colour, edge, margin=0.0):
    """Renders the mark (three cups, the lower one hooked under the upper pair)
    into an RGBA square of the given size.

    edge is the width, in design units (the mark is about 100 wide), of the
    rim each cup gets in edge_colour; it keeps the overlapping cups apart and
    grows for small icon sizes. margin is the free border as a fraction of size.
    """
    k = 8.0                              # pixels per design unit while drawing
    off = 12.0
    big = int((100 + 2 * off) * k)
    img = Image.new("RGBA", (big, big), (0, 0, 0, 0))

    def P(x, y):
        return ((x + off) * k, (y + off) * k)

    rim_ry = CUP_W * 0.14
    for cx, top in CUPS:
        body = [P(x, y) for x, y in cup_body(cx, top)]
        rim = [P(cx - CUP_W / 2, top - rim_ry), P(cx + CUP_W / 2, top + rim_ry)]
        if edge > 0:
            e = edge * k
            grown = Image.new("L", img.size, 0)
            d = ImageDraw.Draw(grown)
            d.polygon(body, fill=255)
            d.line(body + [body[0]], fill=255, width=int(2 * e), joint="curve")
            for x, y in (body[0], body[-1]):
                d.ellipse([x - e, y - e, x + e, y + e], fill=255)
            d.ellipse([rim[0][0] - e, rim[0][1] - e, rim[1][0] + e, rim[1][1] + e], fill=255)
            paint(img, grown, edge_colour)
        sil = Image.new("L", img.size, 0)
        d = ImageDraw.Draw(sil)
        d.polygon(body, fill=255)
        d.ellipse(rim, fill=255)
        y0, y1 = int(rim[0][1]), int(P(0, top + CUP_H)[1]) + 1
        grad = Image.new("RGBA", img.size, (0, 0, 0, 0))
        mid = tuple((a + b) // 2 for a, b in zip(top_colour, bottom_colour))
        grad.paste(vgradient((big, y1 - y0), [(0.0, top_colour), (0.45, mid), (1.0, bottom_colour)]),
                   (0, y0))
        paint(img, sil, grad)
        # a soft vertical sheen on the left of the body
        sheen = Image.new("L", img.size, 0)
        ImageDraw.Draw(sheen).polygon([P(cx - CUP_W * 0.36, top + 4), P(cx - CUP_W * 0.20, top + 4),
                                       P(cx - CUP_W * 0.12, top + CUP_H - 8),
                                       P(cx - CUP_W * 0.22, top + CUP_H - 10)], fill=255)
        sheen = ImageChops.multiply(sheen.filter(ImageFilter.GaussianBlur(1.5 * k)), sil)
        paint(img, sheen.point(lambda v: v * 90 // 255), (255, 255, 255))
        # the mouth: a darker ellipse inside the rim
        inset = 4.0
        mouth = [P(cx - CUP_W / 2 + inset, top - rim_ry + inset * 0.7),
                 P(cx + CUP_W / 2 - inset, top + rim_ry - inset * 0.7)]
        m = Image.new("L", img.size, 0)
        ImageDraw.Draw(m).ellipse(mouth, fill=255)
        mg = Image.new("RGBA", img.size, (0, 0, 0, 0))
        my0, my1 = int(mouth[0][1]), int(mouth[1][1]) + 1
        mg.paste(vgradient((big, my1 - my0), [(0.0, tuple(max(0, c - 50) for c in mouth_colour)),
                                               (1.0, mouth_colour)]), (0, my0))
        paint(img, m, mg)

    # fit the drawn mark into a square with the requested margin
    art = img.crop(img.getchannel("A").getbbox())
    side = int(max(art.size) / (1 - 2 * margin))
    square = Image.new("RGBA", (side, side), (0, 0, 0, 0))
    square.paste(art, ((side - art.width) // 2, (side - art.height) // 2))
    return square.resize((size, size), Image.LANCZOS)


# ---------------------------------------------------------------- window skin
def make_skin():
    whole = (S(SKIN_W), S(SKIN_H))
    img = Image.new("RGBA", whole, (0, 0, 0, 0))
    paint(img, shape_mask(whole, rrect((0, 0, SKIN_W, SKIN_H), CORNER)), OUTLINE)
    paint(img, shape_mask(whole, rrect((BORDER, BORDER, SKIN_W - BORDER, SKIN_H - BORDER),
                                       CORNER - BORDER)), BODY)

    # title: the mark, then "Caldwex" in white and gold and "Uninstaller" in white
    mark = draw_mark(S(46), (255, 255, 255), (178, 180, 190), (86, 86, 94), BODY, 2.5)
    img.alpha_composite(mark, (S(10), S(4)))

    size = (whole[0], S(53))
    baseline = S(38)
    x = S(64)
    f_name = font("DejaVuSans-Bold.ttf", S(30))
    f_word = font("DejaVuSans.ttf", S(28))
    parts = [("Cald", f_name, None), ("wex", f_name, "gold"), (" Uninstaller", f_word, None)]
    for text, fnt, style in parts:
        m = text_mask(size, text, fnt, (x, baseline))
        paint(img, shadow_of(m, (S(1), S(2)), 1.2 * K, 0.55), (0, 0, 0))
        if style == "gold":
            grad = Image.new("RGBA", size, (0, 0, 0, 0))
            grad.paste(vgradient((whole[0], S(24)), [(0.0, GOLD_TOP), (0.5, (246, 196, 70)),
                                                     (1.0, GOLD_BOTTOM)]), (0, baseline - S(22)))
            paint(img, m, grad)
        else:
            paint(img, m, (255, 255, 255))
        x += int(round(fnt.getlength(text)))
    assert x < S(760), "title runs into the caption buttons"

    # red band
    x0, y0, x1, y1 = SB(BAND)
    img.paste(vgradient((x1 - x0, y1 - y0), [(0.0, BAND_TOP), (1.0, BAND_BOTTOM)]), (x0, y0))

    # house glyph
    hx0, hy0, hx1, hy1 = HOUSE

    def house(d, s):
        w = hx1 - hx0
        cx = hx0 + w / 2.0
        # chimney, roof, walls
        d.rectangle([(hx0 + 21) * s, (hy0 + 3) * s, (hx0 + 25) * s, (hy0 + 12) * s], fill=255)
        d.polygon([(hx0 * s, (hy0 + 15) * s), (cx * s, hy0 * s), (hx1 * s, (hy0 + 15) * s),
                   ((hx1 - 3) * s, (hy0 + 17.5) * s), (cx * s, (hy0 + 4.2) * s),
                   ((hx0 + 3) * s, (hy0 + 17.5) * s)], fill=255)
        d.polygon([((hx0 + 5) * s, (hy0 + 16) * s), (cx * s, (hy0 + 7.5) * s),
                   ((hx1 - 5) * s, (hy0 + 16) * s), ((hx1 - 5) * s, hy1 * s),
                   ((hx0 + 5) * s, hy1 * s)], fill=255)
        # door
        d.rounded_rectangle([(cx - 3.5) * s, (hy0 + 20) * s, (cx + 3.5) * s, hy1 * s],
                            radius=1.5 * s, fill=0)
    hm = shape_mask(whole, house)
    paint(img, shadow_of(hm, (0, S(1)), 1.0 * K, 0.35), (60, 0, 0))
    paint(img, hm, (255, 255, 255))

    # search field: a soft recess in the band, then the field itself
    sx0, sy0, sx1, sy1 = SEARCH
    r = (sy1 - sy0) // 2
    ring = shape_mask(whole, rrect((sx0 - 1, sy0 - 1, sx1 + 1, sy1 + 1), r + 1))
    paint(img, ring, (120, 4, 9))
    paint(img, shape_mask(whole, rrect(SEARCH, r)), FIELD)
    # faint inner shade along the top edge
    inner = ImageChops.subtract(shape_mask(whole, rrect(SEARCH, r)),
                                shape_mask(whole, rrect((sx0, sy0 + 2, sx1, sy1 + 2), r)))
    paint(img, inner.point(lambda v: v * 40 // 255), (90, 40, 44))

    # magnifier: lens ring and handle, left of the edit box
    def magnifier(d, s):
        cx, cy, rr = 229.5, 83.5, 6.0
        d.ellipse([(cx - rr) * s, (cy - rr) * s, (cx + rr) * s, (cy + rr) * s], fill=255)
        ri = rr - 2.2
        d.ellipse([(cx - ri) * s, (cy - ri) * s, (cx + ri) * s, (cy + ri) * s], fill=0)
        d.line([(cx + 4.3) * s, (cy + 4.3) * s, (cx + 10.0) * s, (cy + 10.0) * s],
               fill=255, width=int(3.0 * s))
        d.ellipse([(cx + 8.5) * s, (cy + 8.5) * s, (cx + 11.5) * s, (cy + 11.5) * s], fill=255)
    paint(img, shape_mask(whole, magnifier), MAGNIFIER)

    # light panel and the frame round the list and details area
    px0, py0, px1, py1 = SB(PANEL_BOX)
    img.paste(Image.new("RGBA", (px1 - px0, py1 - py0), PANEL + (255,)), (px0, py0))
    # the frame's inclusive corners: its outer edges scale, its line is S(1) wide
    fx0, fy0, fx1, fy1 = FRAME_BOX
    ImageDraw.Draw(img).rectangle([S(fx0), S(fy0), S(fx1 + 1) - 1, S(fy1 + 1) - 1], outline=FRAME + (255,),
                                  width=S(1))
    return img


# ---------------------------------------------------------------- buttons
def make_uninstall(hover):
    dw, dh = 118, 35
    w, h = S(dw), S(dh)
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    face = shape_mask((w, h), rrect((0, 0, dw, dh), 6))
    inner = shape_mask((w, h), rrect((1, 1, dw - 1, dh - 1), 5))
    if hover:
        paint(img, face, (170, 176, 8))
        gloss = vgradient((w, h), [(0.0, (250, 253, 170)), (0.48, (241, 247, 92)),
                                   (0.5, (222, 229, 12)), (1.0, (206, 214, 10))])
        paint(img, inner, gloss)
        # thin bright line just under the top edge
        hi = ImageChops.subtract(inner, shape_mask((w, h), rrect((1, 2, dw - 1, dh - 1), 5)))
        paint(img, hi.point(lambda v: v * 200 // 255), (255, 255, 235))
    else:
        paint(img, face, (196, 203, 12))
        paint(img, inner, YELLOW)
    fnt = font("DejaVuSansCondensed-Bold.ttf", S(15))
    text = "UnInstall"
    tm = text_mask((w, h), text, fnt, (w / 2, h / 2 + 0.5 * K), anchor="mm")
    if hover:
        paint(img, shadow_of(tm, (S(1), S(1)), 0.8 * K, 0.55), (70, 72, 0))
        paint(img, tm, (24, 24, 22))
    else:
        paint(img, tm, (34, 34, 30))
    return img


def make_details_panel():
    dw, dh = 680, 90
    w, h = S(dw), S(dh)
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    paint(img, shape_mask((w, h), rrect((0, 0, dw, dh), 7)), (214, 205, 207))
    paint(img, shape_mask((w, h), rrect((1, 1, dw - 1, dh - 1), 6)), FIELD)
    return img


def make_header_bar():
    return Image.new("RGBA", (S(99), S(17)), HEADER + (255,))


def diamonds_mask(size, x0, cy):
    """3x3 grid of small diamonds, left column at x0, centred vertically on cy."""
    step, r = 7.0, 2.6

    def draw(d, s):
        for row in range(3):
            for col in range(3):
                cx = x0 + r + col * step
                y = cy + (row - 1) * step
                d.polygon([((cx - r) * s, y * s), (cx * s, (y - r) * s),
                           ((cx + r) * s, y * s), (cx * s, (y + r) * s)], fill=255)
    return shape_mask(size, draw)


def make_allprograms(hover):
    w = S(161 if hover else 151)
    h = S(43)
    size = (w, h)
    img = Image.new("RGBA", size, ((PANEL if hover else TILE) + (255,)))
    fnt = font("DejaVuSans-Bold.ttf", S(13))
    glyph = diamonds_mask(size, 14.5, 43 / 2.0)
    text = text_mask(size, "All Programs", fnt, (S(43), h // 2), anchor="lm")
    if hover:
        # shaded left edge: dark where the tab leaves the column, fading into the panel
        edge = S(8)
        for x in range(edge):
            a = int(round(255 * (1 - x / float(edge)) ** 2))
            img.alpha_composite(Image.new("RGBA", (1, h), (58, 57, 59, a)), (x, 0))
        paint(img, glyph, (190, 12, 19))
        paint(img, text, TAB_TEXT)
    else:
        paint(img, glyph, (255, 255, 255))
        paint(img, text, TILE_TEXT)
    return img if hover else img.convert("RGB")


def caption_glyph(kind, colour):
    size = (S(21), S(20))

    def bar(d, s):
        d.rounded_rectangle([5.5 * s, 12 * s, 15.5 * s, 15 * s], radius=0.8 * s, fill=255)

    def cross(d, s):
        wd = 2.6 * s
        a, b = 6.0, 15.0
        d.line([a * s, 5.5 * s, b * s, 14.5 * s], fill=255, width=int(wd))
        d.line([b * s, 5.5 * s, a * s, 14.5 * s], fill=255, width=int(wd))
    m = shape_mask(size, bar if kind == "min" else cross)
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    paint(img, shadow_of(m, (S(1), S(1)), 0.9 * K, 0.75), (0, 0, 0))
    paint(img, m, colour)
    return img


# ---------------------------------------------------------------- setup icon
def setup_icon_art(size, bg=None):
    """A monitor with a blue screen, a cardboard box in front of it and a disc
    leaning on the box: the usual picture for a setup program. Drawn on a
    100x100 design grid and scaled to size (w, h); transparent unless bg is given."""
    w, h = size
    k = 8
    S = (w * k, h * k)
    sx, sy = S[0] / 100.0, S[1] / 100.0
    img = Image.new("RGBA", S, (bg + (255,)) if bg else (0, 0, 0, 0))

    def P(x, y):
        return (x * sx, y * sy)

    def R(x0, y0, x1, y1):
        return [x0 * sx, y0 * sy, x1 * sx, y1 * sy]

    def lw(units):
        return max(1, int(round(units * sx)))

    d = ImageDraw.Draw(img)
    # monitor: stand, foot, case, screen with a sheen
    d.polygon([P(36, 56), P(54, 56), P(58, 66), P(32, 66)], fill=(118, 120, 128))
    d.rounded_rectangle(R(22, 64, 68, 70), radius=2.5 * sx, fill=(84, 86, 94))
    d.rounded_rectangle(R(4, 4, 86, 60), radius=6 * sx, fill=(58, 60, 68))
    d.rounded_rectangle(R(7, 7, 83, 57), radius=4 * sx, fill=(176, 178, 188))
    sm = Image.new("L", S, 0)
    ImageDraw.Draw(sm).rectangle(R(12, 11, 78, 52), fill=255)
    paint(img, sm, vgradient(S, [(0.0, (132, 198, 255)), (0.12, (132, 198, 255)),
                                  (0.32, (44, 124, 232)), (0.5, (18, 74, 196)), (1.0, (10, 40, 140))]))
    sh = Image.new("L", S, 0)
    ImageDraw.Draw(sh).polygon([P(12, 11), P(58, 11), P(12, 36)], fill=60)
    paint(img, sh, (255, 255, 255))

    # box: top, right side and front faces, a tape strip, then the edges
    outline = (104, 66, 18)
    front = [P(46, 56), P(80, 56), P(80, 95), P(46, 95)]
    side = [P(80, 56), P(94, 45), P(94, 84), P(80, 95)]
    top = [P(46, 56), P(60, 45), P(94, 45), P(80, 56)]
    d = ImageDraw.Draw(img)
    d.polygon(front, fill=(224, 170, 82))
    d.polygon(side, fill=(178, 124, 46))
    d.polygon(top, fill=(244, 206, 132))
    d.polygon([P(59, 56), P(67, 56), P(81, 45), P(73, 45)], fill=(250, 236, 204))
    d.polygon([P(59, 56), P(67, 56), P(67, 70), P(59, 70)], fill=(240, 220, 178))
    d.line([P(46, 56), P(80, 56), P(94, 45)], fill=outline, width=lw(1.6))
    d.line([P(80, 56), P(80, 95)], fill=outline, width=lw(1.6))
    d.line([P(46, 56), P(60, 45), P(94, 45), P(94, 84), P(80, 95), P(46, 95), P(46, 56)],
           fill=outline, width=lw(2.6), joint="curve")

    # disc leaning on the front of the box: dark rim, silver face, hub, hole
    cx, cy, r = 27, 76, 20
    d.ellipse(R(cx - r, cy - r, cx + r, cy + r), fill=(88, 92, 104))
    face = Image.new("L", S, 0)
    ImageDraw.Draw(face).ellipse(R(cx - r + 2.4, cy - r + 2.4, cx + r - 2.4, cy + r - 2.4), fill=255)
    paint(img, face, vgradient(S, [(0.0, (236, 238, 244)), (0.62, (226, 234, 248)),
                                    (0.74, (214, 226, 250)), (0.82, (240, 222, 244)),
                                    (0.9, (246, 238, 206)), (1.0, (196, 200, 212))]))
    glint = Image.new("L", S, 0)
    ImageDraw.Draw(glint).pieslice(R(cx - r + 3, cy - r + 3, cx + r - 3, cy + r - 3), 200, 250, fill=190)
    paint(img, glint, (255, 255, 255))
    d = ImageDraw.Draw(img)
    d.ellipse(R(cx - 8, cy - 8, cx + 8, cy + 8), fill=(150, 154, 168))
    d.ellipse(R(cx - 6, cy - 6, cx + 6, cy + 6), fill=(208, 210, 218))
    hole = Image.new("L", S, 255)
    ImageDraw.Draw(hole).ellipse(R(cx - 3.2, cy - 3.2, cx + 3.2, cy + 3.2), fill=0)
    if bg:
        paint(img, ImageChops.invert(hole), bg)
    else:
        img.putalpha(ImageChops.multiply(img.getchannel("A"), hole))
    return img.resize((w, h), Image.LANCZOS)


def make_default_icon_jpeg():
    img = setup_icon_art((S(34), S(36)), bg=ICON_BG).convert("RGB")
    buf = io.BytesIO()
    img.save(buf, "JPEG", quality=92, progressive=False, optimize=False, subsampling=0)
    return buf.getvalue()


# ---------------------------------------------------------------- .ico writer
def ico_bytes(images, alpha_cut=1):
    """Packs RGBA images as 32-bpp DIB icon entries with an AND mask.

    A mask bit is set where alpha < alpha_cut; such pixels get black colour so
    that the XOR/AND path of old-style drawing leaves the background untouched.
    """
    head = struct.pack("<HHH", 0, 1, len(images))
    entries = b""
    blobs = []
    offset = 6 + 16 * len(images)
    for im in images:
        im = im.convert("RGBA")
        w, h = im.size
        px = im.load()
        xor = bytearray()
        mask_stride = ((w + 31) // 32) * 4
        andm = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(w):
                r, g, b, a = px[x, y]
                if a < alpha_cut:
                    r = g = b = a = 0
                    row[x >> 3] |= 0x80 >> (x & 7)
                xor += bytes((b, g, r, a))
            andm += row
        hdr = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
        blob = hdr + bytes(xor) + bytes(andm)
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return head + entries + b"".join(blobs)


def make_app_ico():
    sizes = [64, 48, 32, 24, 16]
    images = []
    for s in sizes:
        # smaller sizes get a relatively wider rim so the cups stay apart
        edge = {64: 2.6, 48: 3.0, 32: 3.6, 24: 4.4, 16: 5.2}[s]
        images.append(draw_mark(s, (255, 255, 255), (22, 96, 214), (40, 92, 186), (14, 44, 110),
                                edge, 0.02 if s >= 32 else 0.0))
    return ico_bytes(images)


def make_entry_ico():
    """The list's icon at 20 x 20 pixels for each density, in one icon file."""
    return ico_bytes([entry_icon_image(size) for size in (20, 25, 30, 40)], alpha_cut=255)


def entry_icon_image(side):
    art = setup_icon_art((side, side))
    # 1-bit transparency: solid where the art is mostly opaque, edges blended onto
    # the white list background
    px = art.load()
    out = Image.new("RGBA", art.size, (0, 0, 0, 0))
    po = out.load()
    for y in range(art.size[1]):
        for x in range(art.size[0]):
            r, g, b, a = px[x, y]
            if a >= 96:
                f = a / 255.0
                po[x, y] = (int(round(r * f + 255 * (1 - f))), int(round(g * f + 255 * (1 - f))),
                            int(round(b * f + 255 * (1 - f))), 255)
    return out


# ---------------------------------------------------------------- main
PICTURES = [
    ("skin", make_skin),
    ("uninstall_normal", lambda: make_uninstall(False)),
    ("uninstall_hover", lambda: make_uninstall(True)),
    ("details_panel", make_details_panel),
    ("header_bar", make_header_bar),
    ("allprograms_normal", lambda: make_allprograms(False)),
    ("allprograms_hover", lambda: make_allprograms(True)),
    ("minimize_normal", lambda: caption_glyph("min", (255, 255, 255))),
    ("minimize_hover", lambda: caption_glyph("min", MIN_HOVER)),
    ("close_normal", lambda: caption_glyph("close", (255, 255, 255))),
    ("close_hover", lambda: caption_glyph("close", CLOSE_HOVER)),
]


def density_suffix(dpi):
    return "" if dpi == 96 else "_%d" % (dpi * 100 // 96)


def main():
    global K
    written = []
    for dpi in DPIS:
        K = dpi / 96.0
        suffix = density_suffix(dpi)
        for name, make in PICTURES:
            written.append(save_png(make(), name + suffix + ".png"))
        path = os.path.join(OUT, "default_icon%s.jpg" % suffix)
        with open(path, "wb") as f:
            f.write(make_default_icon_jpeg())
        written.append(path)
    K = 1.0
    for name, data in (("app.ico", make_app_ico()),
                       ("default_entry_icon.ico", make_entry_ico())):
        path = os.path.join(OUT, name)
        with open(path, "wb") as f:
            f.write(data)
        written.append(path)
    for p in written:
        print(os.path.relpath(p, OUT))


if __name__ == "__main__":
    main()
