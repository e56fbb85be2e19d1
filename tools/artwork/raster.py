"""Small anti-aliased drawing kit on top of Pillow.

Shapes are drawn into coverage masks at SUPERSAMPLE times the final size and
box-reduced, which gives clean edges without the ringing a windowed filter
adds to thin strokes. Colours are (r, g, b, a) tuples with straight alpha.
"""

import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter

SUPERSAMPLE = 8


def rgba(hex_text, alpha=255):
    hex_text = hex_text.lstrip("#")
    return (int(hex_text[0:2], 16), int(hex_text[2:4], 16), int(hex_text[4:6], 16), alpha)


def mix(c0, c1, t):
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c0, c1))


class Pen:
    """Draws in final-pixel coordinates (floats) onto a supersampled mask.

    Coordinates address pixel edges: the pixel in column x covers [x, x + 1).
    offset shifts everything drawn, e.g. a glyph on a pressed button.
    """

    def __init__(self, size, offset=(0.0, 0.0)):
        self.size = size
        self.offset = offset
        self.image = Image.new("L", (size[0] * SUPERSAMPLE, size[1] * SUPERSAMPLE), 0)
        self.draw = ImageDraw.Draw(self.image)

    def _x(self, x):
        return (x + self.offset[0]) * SUPERSAMPLE

    def _y(self, y):
        return (y + self.offset[1]) * SUPERSAMPLE

    def _pts(self, points):
        return [(self._x(x), self._y(y)) for x, y in points]

    def rounded_rect(self, x0, y0, x1, y1, radius, fill=255):
        r = max(0.0, min(radius, (x1 - x0) / 2, (y1 - y0) / 2))
        self.draw.rounded_rectangle(
            (self._x(x0), self._y(y0), self._x(x1) - 1, self._y(y1) - 1),
            radius=int(round(r * SUPERSAMPLE)), fill=fill)

    def rect(self, x0, y0, x1, y1, fill=255):
        self.draw.rectangle((self._x(x0), self._y(y0), self._x(x1) - 1, self._y(y1) - 1), fill=fill)

    def ellipse(self, cx, cy, rx, ry=None, fill=255):
        ry = rx if ry is None else ry
        self.draw.ellipse((self._x(cx - rx), self._y(cy - ry), self._x(cx + rx) - 1, self._y(cy + ry) - 1),
                          fill=fill)

    def polygon(self, points, fill=255):
        self.draw.polygon(self._pts(points), fill=fill)

    def stroke(self, points, width, fill=255, round_caps=True):
        pts = self._pts(points)
        self.draw.line(pts, fill=fill, width=max(1, int(round(width * SUPERSAMPLE))), joint="curve")
        if round_caps:
            rad = width * SUPERSAMPLE / 2
            for x, y in (pts[0], pts[-1]):
                self.draw.ellipse((x - rad, y - rad, x + rad - 1, y + rad - 1), fill=fill)

    def arc(self, cx, cy, radius, start_deg, end_deg, width, fill=255, round_caps=True):
        """Arc of a circle; degrees clockwise from 3 o'clock (screen y points down)."""
        self.stroke(arc_points(cx, cy, radius, start_deg, end_deg), width, fill, round_caps)

    def paste(self, coverage, x, y):
        """Adds a coverage mask that is already at the supersampled scale, its corner at (x, y)."""
        box = (int(round(self._x(x))), int(round(self._y(y))))
        self.image.paste(255, box + (box[0] + coverage.size[0], box[1] + coverage.size[1]), coverage)

    def done(self):
        return self.image.reduce(SUPERSAMPLE)


def arc_points(cx, cy, radius, start_deg, end_deg, steps=96):
    n = max(2, int(steps * abs(end_deg - start_deg) / 360) + 1)
    out = []
    for i in range(n + 1):
        a = math.radians(start_deg + (end_deg - start_deg) * i / n)
        out.append((cx + radius * math.cos(a), cy + radius * math.sin(a)))
    return out


def mask(size, paint, offset=(0.0, 0.0)):
    pen = Pen(size, offset)
    paint(pen)
    return pen.done()


def solid(size, colour):
    return Image.new("RGBA", size, colour)


def vertical_gradient(size, stops):
    """stops: [(y, colour), ...] in pixel rows (floats allowed); clamps outside."""
    w, h = size
    column = Image.new("RGBA", (1, h))
    for y in range(h):
        yc = y + 0.5
        if yc <= stops[0][0]:
            c = stops[0][1]
        elif yc >= stops[-1][0]:
            c = stops[-1][1]
        else:
            for (ya, ca), (yb, cb) in zip(stops, stops[1:]):
                if ya <= yc <= yb:
                    c = mix(ca, cb, (yc - ya) / (yb - ya) if yb > ya else 0)
                    break
        column.putpixel((0, y), c)
    return column.resize((w, h), Image.NEAREST)


def fill(target, coverage, source):
    """Paints source (a colour or an RGBA image of the target's size) through a coverage mask."""
    if isinstance(source, tuple):
        source = solid(target.size, source)
    layer = source.copy()
    layer.putalpha(ImageChops.multiply(source.getchannel("A"), coverage))
    target.alpha_composite(layer)


def blur(coverage, radius):
    return coverage.filter(ImageFilter.GaussianBlur(radius))


def subtract(a, b):
    """Coverage of a without b."""
    return ImageChops.multiply(a, ImageChops.invert(b))


def clear_transparent(image):
    """Fully transparent pixels become transparent black, so no stray colour hides in them."""
    out = image.copy()
    black = Image.new("RGBA", image.size, (0, 0, 0, 0))
    opaque = image.getchannel("A").point(lambda a: 255 if a else 0)
    return Image.composite(out, black, opaque)
