"""Draws the toolbar in canvas space: the frame with its logo, and every button in every look.

Everything is composed on the 327 x 60 canvas exactly as the program shows it; the skin is
cut from these pictures afterwards, so frame and buttons always line up.
"""

import math

from PIL import Image, ImageChops, ImageDraw, ImageFont

import layout
import raster
from raster import rgba

FONT_DIR = "/usr/share/fonts/opentype/noto/"
CJK_BOLD = FONT_DIR + "NotoSansCJK-Bold.ttc"
CJK_INDEX = {"ja": 0, "ko": 1, "zh": 2}
LATIN_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

SIZE = layout.CANVAS_SIZE

# The frame: a rounded bar a little inside the canvas, leaving room for its shadow.
FRAME = (1.0, 3.0, 326.0, 54.0)
FRAME_RADIUS = 17.0

PALETTE = {
    "edge": rgba("10161e", 235),
    "body": [(3.0, rgba("4e5f74")), (20.0, rgba("3f4e61")), (54.0, rgba("2a3442"))],
    "shadow": rgba("000000", 150),
    "groove_dark": rgba("141b24", 170),
    "groove_light": rgba("ffffff", 30),
    "glyph": rgba("f1f5f8"),
    "glyph_soft": rgba("c9d3dd"),
    "glyph_off": rgba("7b8591"),
    "lit": rgba("5fe3d3"),
    "accent_hi": rgba("4fd0c3"),
    "accent_lo": rgba("1c8a8a"),
}

# Face colours per look: (top, bottom, border, highlight alpha).
NEUTRAL_FACE = {
    "normal": (rgba("5b6d83"), rgba("45546a"), rgba("121922", 170), 50),
    "hover": (rgba("6e829a"), rgba("54667d"), rgba("dcecf6", 235), 70),
    "pressed": (rgba("3a4757"), rgba("36424f"), rgba("080c12", 230), 0),
    "disabled": (rgba("454e59"), rgba("3d4550"), rgba("161c24", 120), 14),
}
ACCENT_FACE = {
    "normal": (rgba("4ccdc0"), rgba("1b8586"), rgba("0b3236", 220), 95),
    "hover": (rgba("66dccf"), rgba("26a09d"), rgba("e6fbf8", 245), 110),
    "pressed": (rgba("1d7d7e"), rgba("186a6c"), rgba("051a1c", 235), 0),
    "disabled": (rgba("5c6570"), rgba("4a525d"), rgba("161c24", 140), 24),
}
FLAT_FACE = {
    "normal": None,
    "hover": (rgba("ffffff", 26), rgba("ffffff", 18), rgba("dcecf6", 150), 0),
    "pressed": (rgba("000000", 60), rgba("000000", 50), rgba("05080c", 130), 0),
    "disabled": None,
}

# Visible faces, in canvas pixel-edge coordinates; they cover the hit regions.
FACES = {
    0: ("rounded", (62.0, 13.0, 96.0, 48.0), 9.0),
    1: ("circle", (110.0, 9.0, 150.0, 49.0), 20.0),
    2: ("rounded", (161.0, 21.0, 181.0, 41.0), 5.0),
    3: ("rounded", (189.0, 21.0, 209.0, 41.0), 5.0),
    4: ("rounded", (230.0, 19.0, 254.0, 43.0), 6.0),
    5: ("rounded", (264.0, 19.0, 288.0, 43.0), 6.0),
    6: ("rounded", (296.5, 17.5, 309.5, 29.5), 3.5),
    7: ("rounded", (296.5, 31.5, 309.5, 44.5), 3.5),
}
FACE_STYLE = {0: NEUTRAL_FACE, 1: ACCENT_FACE, 2: NEUTRAL_FACE, 3: NEUTRAL_FACE,
              4: NEUTRAL_FACE, 5: NEUTRAL_FACE, 6: FLAT_FACE, 7: FLAT_FACE}


def _shape(pen, kind, box, radius, inset=0.0, fill=255):
    x0, y0, x1, y1 = box
    if kind == "circle":
        pen.ellipse((x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - inset, fill=fill)
    else:
        pen.rounded_rect(x0 + inset, y0 + inset, x1 - inset, y1 - inset, radius - inset, fill=fill)


def _shape_mask(kind, box, radius, inset=0.0, dy=0.0):
    x0, y0, x1, y1 = box
    return raster.mask(SIZE, lambda p: _shape(p, kind, (x0, y0 + dy, x1, y1 + dy), radius, inset))


# ---------------------------------------------------------------------------------------------
# Frame and logo


def draw_frame():
    img = Image.new("RGBA", SIZE, (0, 0, 0, 0))
    x0, y0, x1, y1 = FRAME
    shadow = raster.mask(SIZE, lambda p: p.rounded_rect(x0 + 1, y0 + 2.5, x1 - 1, y1 + 1.5, FRAME_RADIUS))
    raster.fill(img, raster.blur(shadow, 1.8), PALETTE["shadow"])
    outer = raster.mask(SIZE, lambda p: p.rounded_rect(x0, y0, x1, y1, FRAME_RADIUS))
    raster.fill(img, outer, PALETTE["edge"])
    body = raster.mask(SIZE, lambda p: p.rounded_rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, FRAME_RADIUS - 1))
    raster.fill(img, body, raster.vertical_gradient(SIZE, PALETTE["body"]))
    # a soft sheen along the top edge, fading out towards the middle
    inner = raster.mask(SIZE, lambda p: p.rounded_rect(x0 + 2, y0 + 2, x1 - 2, y1 - 2, FRAME_RADIUS - 2))
    rim = raster.subtract(body, inner)
    sheen = raster.vertical_gradient(SIZE, [(y0 + 1, rgba("ffffff", 70)), (y0 + 16, rgba("ffffff", 0))])
    raster.fill(img, rim, sheen)
    for x in (55.0, 218.5, 292.0):
        _groove(img, x)
    draw_logo(img)
    return img


def _groove(img, x):
    y0, y1 = 14.0, 45.0
    dark = raster.mask(SIZE, lambda p: p.rect(x - 1, y0, x, y1))
    light = raster.mask(SIZE, lambda p: p.rect(x, y0, x + 1, y1))
    fade = raster.vertical_gradient(
        SIZE, [(y0, rgba("ffffff", 0)), (y0 + 8, rgba("ffffff")), (y1 - 8, rgba("ffffff")), (y1, rgba("ffffff", 0))])
    fade_mask = fade.getchannel("A")
    raster.fill(img, ImageChops.multiply(dark, fade_mask), PALETTE["groove_dark"])
    raster.fill(img, ImageChops.multiply(light, fade_mask), PALETTE["groove_light"])


def emblem_paint(pen, cx, cy, size):
    """The product's emblem, a speech bubble with a play sign, drawn white on any tile.

    Returns nothing; paints coverage 255 for the bubble and 0 for the play sign cut into it.
    """
    s = size
    bx0, by0, bx1, by1 = cx - 0.34 * s, cy - 0.29 * s, cx + 0.34 * s, cy + 0.19 * s
    pen.rounded_rect(bx0, by0, bx1, by1, 0.16 * s)
    # the tail, pointing down-left
    pen.polygon([(cx - 0.22 * s, by1 - 0.05 * s), (cx - 0.02 * s, by1 - 0.05 * s),
                 (cx - 0.27 * s, cy + 0.36 * s)])
    # play sign cut out of the bubble
    tcx, tcy = cx + 0.015 * s, (by0 + by1) / 2
    h = 0.26 * s
    pen.polygon([(tcx - 0.38 * h, tcy - h / 2), (tcx - 0.38 * h, tcy + h / 2), (tcx + 0.5 * h, tcy)], fill=0)


def draw_tile(img, box, radius, hi, lo, border, glow=True):
    x0, y0, x1, y1 = box
    size = img.size
    shadow = raster.mask(size, lambda p: p.rounded_rect(x0, y0 + 1.0, x1, y1 + 1.0, radius))
    raster.fill(img, raster.blur(shadow, 0.8), rgba("000000", 90))
    outer = raster.mask(size, lambda p: p.rounded_rect(x0, y0, x1, y1, radius))
    raster.fill(img, outer, border)
    inner = raster.mask(size, lambda p: p.rounded_rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, radius - 1))
    raster.fill(img, inner, raster.vertical_gradient(size, [(y0, hi), (y1, lo)]))
    if glow:
        top = raster.mask(size, lambda p: p.rounded_rect(x0 + 2, y0 + 2, x1 - 2, y1 - 2, radius - 2))
        raster.fill(img, raster.subtract(inner, top),
                    raster.vertical_gradient(size, [(y0, rgba("ffffff", 110)), ((y0 + y1) / 2, rgba("ffffff", 0))]))


def draw_logo(img):
    cx, cy, s = 28.0, 22.5, 27.0
    box = (cx - s / 2, cy - s / 2, cx + s / 2, cy + s / 2)
    draw_tile(img, box, 7.0, PALETTE["accent_hi"], PALETTE["accent_lo"], rgba("0b3236", 220))
    mark = raster.mask(SIZE, lambda p: emblem_paint(p, cx, cy + 0.5, s * 0.9))
    raster.fill(img, mark, PALETTE["glyph"])
    raster.fill(img, text_mask(SIZE, "Ostrel", LATIN_BOLD, 9.5, (cx, 45.0), hinted=True), rgba("d3dde6"))


def text_mask(size, text, font_path, font_size, centre, index=0, hinted=False, dy=0.0):
    """Coverage of text centred on its ink. Hinted text is rendered at 1x: small sizes stay crisp."""
    scale = 1 if hinted else raster.SUPERSAMPLE
    font = ImageFont.truetype(font_path, int(round(font_size * scale)), index=index)
    em = font_size * scale
    scratch = Image.new("L", (int(em * (len(text) + 2)), int(em * 3)), 0)
    ImageDraw.Draw(scratch).text((em, em / 2), text, font=font, fill=255)
    ink = scratch.crop(scratch.getbbox())
    if hinted:
        m = Image.new("L", size, 0)
        m.paste(ink, (int(round(centre[0] - ink.size[0] / 2)), int(round(centre[1] + dy - ink.size[1] / 2))))
        return m
    pen = raster.Pen(size, (0.0, dy))
    pen.paste(ink, centre[0] - ink.size[0] / (2 * scale), centre[1] - ink.size[1] / (2 * scale))
    return pen.done()


# ---------------------------------------------------------------------------------------------
# Buttons


def draw_face(img, command, look):
    style = FACE_STYLE[command][look]
    if style is None:
        return
    flat = FACE_STYLE[command] is FLAT_FACE
    kind, box, radius = FACES[command]
    top, bottom, border, highlight = style
    if look in ("normal", "hover") and not flat:
        drop = _shape_mask(kind, box, radius, dy=1.0)
        raster.fill(img, raster.blur(drop, 0.6), rgba("000000", 80))
    # the hover look's light edge is a little wider than the normal one: it reads as a frame
    edge = 1.5 if look == "hover" and not flat else 1.0
    outer = _shape_mask(kind, box, radius)
    inner = _shape_mask(kind, box, radius, inset=edge)
    gradient = raster.vertical_gradient(SIZE, [(box[1], top), (box[3], bottom)])
    # translucent faces must not let their edge show through the fill
    raster.fill(img, raster.subtract(outer, inner) if flat else outer, border)
    raster.fill(img, inner, gradient)
    if highlight:
        below = _shape_mask(kind, box, radius, inset=edge + 0.5 if look == "hover" else edge, dy=1.0)
        raster.fill(img, raster.subtract(inner, below), rgba("ffffff", highlight))
    if look == "pressed" and not flat:
        # an inner shadow along the top: the face looks pushed in
        lower = _shape_mask(kind, box, radius, inset=1.0, dy=2.0)
        raster.fill(img, raster.blur(raster.subtract(inner, lower), 0.5), rgba("000000", 110))


def glyph_colour(command, look, alternate):
    if look == "disabled":
        return PALETTE["glyph_off"]
    if command == 3 and alternate:
        return PALETTE["lit"]
    if FACE_STYLE[command] is FLAT_FACE and look == "normal":
        return PALETTE["glyph_soft"]
    return PALETTE["glyph"]


def _corner_arc(corner, sign, r):
    """Points of a quarter circle rounding the loop's corner (top-left, or bottom-right when sign < 0)."""
    cx, cy = corner[0] + sign * r, corner[1] + sign * r
    start = 180.0 if sign > 0 else 0.0
    return raster.arc_points(cx, cy, r, start, start + 90.0, 32)


def _rounded_triangle(pen, pts, r):
    cx = sum(p[0] for p in pts) / 3
    cy = sum(p[1] for p in pts) / 3
    # shrink towards the centroid, then stroke: corners come out round
    shrink = []
    for x, y in pts:
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy)
        k = (d - 2 * r) / d
        shrink.append((cx + dx * k, cy + dy * k))
    pen.polygon(shrink)
    pen.stroke(shrink + [shrink[0]], 2 * r)


def glyph_paint(command, alternate):
    """Returns a painter for the button's glyph, drawn around its face's centre."""
    _, (x0, y0, x1, y1), _ = FACES[command]
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2

    def selection(p):
        # a text cursor, then the play or pause sign
        ix = cx - 8.5
        p.rect(ix - 1.0, cy - 9.0, ix + 1.0, cy + 9.0)
        p.rounded_rect(ix - 3.5, cy - 10.0, ix + 3.5, cy - 8.0, 1.0)
        p.rounded_rect(ix - 3.5, cy + 8.0, ix + 3.5, cy + 10.0, 1.0)
        if alternate:
            p.rounded_rect(cx - 1.0, cy - 7.0, cx + 3.0, cy + 7.0, 1.0)
            p.rounded_rect(cx + 6.0, cy - 7.0, cx + 10.0, cy + 7.0, 1.0)
        else:
            _rounded_triangle(p, [(cx - 1.5, cy - 8.0), (cx - 1.5, cy + 8.0), (cx + 11.0, cy)], 1.0)

    def whole(p):
        if alternate:
            p.rounded_rect(cx - 7.0, cy - 8.5, cx - 2.0, cy + 8.5, 1.4)
            p.rounded_rect(cx + 2.0, cy - 8.5, cx + 7.0, cy + 8.5, 1.4)
        else:
            _rounded_triangle(p, [(cx - 5.5, cy - 10.0), (cx - 5.5, cy + 10.0), (cx + 11.5, cy)], 1.3)

    def stop(p):
        p.rounded_rect(cx - 4.5, cy - 4.5, cx + 4.5, cy + 4.5, 1.5)

    def repeat(p):
        # two halves of a rounded loop, each ending in an arrowhead
        w, hx, hy, r = 1.7, 5.0, 3.6, 2.2
        for sign in (1.0, -1.0):
            start = (cx - sign * hx, cy + sign * 1.2)
            corner = (cx - sign * hx, cy - sign * hy)
            path = [start] + _corner_arc(corner, sign, r) + [(cx + sign * 2.6, cy - sign * hy)]
            p.stroke(path, w)
            tip = (cx + sign * 6.6, cy - sign * hy)
            p.polygon([tip, (cx + sign * 2.4, cy - sign * (hy + 3.0)), (cx + sign * 2.4, cy - sign * (hy - 3.0))])

    def settings(p):
        teeth, r_out, r_in = 8, 8.0, 6.0
        pts = []
        for i in range(teeth):
            base = 360.0 / teeth * i - 90.0
            for da, rr in ((-13.0, r_out), (13.0, r_out), (22.5 - 8.0, r_in), (22.5 + 8.0, r_in)):
                a = math.radians(base + da)
                pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
        p.polygon(pts)
        p.ellipse(cx, cy, 6.2)
        p.ellipse(cx, cy, 2.6, fill=0)

    def close(p):
        d = 2.7
        p.stroke([(cx - d, cy - d), (cx + d, cy + d)], 1.6)
        p.stroke([(cx - d, cy + d), (cx + d, cy - d)], 1.6)

    def minimise(p):
        p.stroke([(cx - 3.5, cy + 2.0), (cx + 3.5, cy + 2.0)], 1.8)

    return {0: selection, 1: whole, 2: stop, 3: repeat, 5: settings, 6: close, 7: minimise}.get(command)


LANGUAGE_TEXT = {
    "ja": ("日", CJK_BOLD, CJK_INDEX["ja"], 15.0),
    "zh": ("中", CJK_BOLD, CJK_INDEX["zh"], 15.0),
    "en": ("EN", LATIN_BOLD, 0, 11.0),
    "ko": ("한", CJK_BOLD, CJK_INDEX["ko"], 15.0),
}


def draw_button(background, command, look, alternate=False, language=None):
    """The canvas with one button drawn on the frame; only the button's rectangle is meaningful."""
    img = background.copy()
    draw_face(img, command, look)
    if command == 3 and alternate and look == "normal":
        # lit repeat: the face's edge takes the accent too, so the state shows at a glance
        kind, box, radius = FACES[command]
        ring = raster.subtract(_shape_mask(kind, box, radius), _shape_mask(kind, box, radius, inset=1.0))
        raster.fill(img, ring, rgba("5fe3d3", 150))
    dy = 1.0 if look == "pressed" else 0.0
    if command == 4:
        text, font, index, size = LANGUAGE_TEXT[language]
        _, (x0, y0, x1, y1), _ = FACES[command]
        centre = ((x0 + x1) / 2, (y0 + y1) / 2)
        glyph = text_mask(SIZE, text, font, size, centre, index, hinted=True, dy=dy)
        halo = text_mask(SIZE, text, font, size, centre, index, hinted=True, dy=dy + 1.0)
    else:
        painter = glyph_paint(command, alternate)
        glyph = raster.mask(SIZE, painter, offset=(0.0, dy))
        halo = raster.mask(SIZE, painter, offset=(0.0, dy + 0.8))
    if look not in ("pressed", "disabled"):
        # a faint dark halo lifts the glyph off the face
        raster.fill(img, raster.blur(halo, 0.6), rgba("000000", 70))
    raster.fill(img, glyph, glyph_colour(command, look, alternate))
    return img
