"""Cuts the skin's seven bands and the hit map out of the canvas-space pictures."""

from PIL import Image

import layout
import toolbar_art

# A column of plain frame body, used to fill the skin's hidden strip so it reads as one bar.
PLAIN_BODY_COLUMN = 214


def build_skin():
    background = toolbar_art.draw_frame()
    h = layout.BAND_HEIGHT
    skin = Image.new("RGBA", (layout.SKIN_WIDTH, layout.SKIN_HEIGHT), (0, 0, 0, 0))
    hidden_width = layout.SHOWN_RIGHT_START - layout.SHOWN_LEFT_END
    filler = background.crop((PLAIN_BODY_COLUMN, 0, PLAIN_BODY_COLUMN + 1, h)).resize(
        (hidden_width, h), Image.NEAREST)
    rendered = {}
    for band in range(layout.BAND_COUNT):
        look = layout.BAND_LOOK[band]
        alternate = layout.BAND_ALTERNATE[band]
        strip = Image.new("RGBA", (layout.SKIN_WIDTH, h), (0, 0, 0, 0))
        strip.paste(background.crop((0, 0, layout.SHOWN_LEFT_END, h)), (0, 0))
        strip.paste(filler, (layout.SHOWN_LEFT_END, 0))
        strip.paste(background.crop((layout.SHOWN_LEFT_END, 0, layout.CANVAS_WIDTH, h)),
                    (layout.SHOWN_RIGHT_START, 0))
        for index, row in enumerate(layout.BUTTON_ROWS):
            command, (left, top, _, _), _ = row
            language = None
            if command == 4:
                language = layout.LANGUAGES[index - layout.LANGUAGE_ROW_FIRST]
            key = (command, look, alternate and command in (0, 1, 3), language)
            if key not in rendered:
                rendered[key] = toolbar_art.draw_button(background, command, look, key[2], language)
            strip.paste(rendered[key].crop(layout.canvas_rect(row)), (left, top))
        skin.paste(strip, (0, band * h))
    return skin


def build_hitmap():
    hitmap = Image.new("RGBA", layout.CANVAS_SIZE, (0, 0, 0, 0))
    px = hitmap.load()
    for command, ((x0, x1), (y0, y1), shape) in sorted(layout.HIT_REGIONS.items()):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                if _inside(shape, x + 0.5, y + 0.5, x0, x1 + 1, y0, y1 + 1):
                    px[x, y] = (command, 0, 255, 255)
    return hitmap


def _inside(shape, x, y, left, right, top, bottom):
    if shape == "square":
        return True
    if shape == "circle":
        cx, cy = (left + right) / 2, (top + bottom) / 2
        r = min(right - left, bottom - top) / 2
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    r = layout.HIT_ROUNDED_RADIUS
    nx = min(max(x, left + r), right - r)
    ny = min(max(y, top + r), bottom - r)
    return (x - nx) ** 2 + (y - ny) ** 2 <= r * r
