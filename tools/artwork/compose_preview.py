#!/usr/bin/python3
"""Composes the toolbar from skin.png the way the program does and writes preview pictures.

Usage: /usr/bin/python3 tools/artwork/compose_preview.py [--images DIR] [--out DIR]

Each scene is written at 1x and enlarged 3x, over a light and a dark desktop, plus one sheet
with every scene. The previews are for looking at, not for committing.
"""

import argparse
import os
import sys

from PIL import Image, ImageDraw

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import layout  # noqa: E402

REPO_ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
DEFAULT_IMAGES = os.path.join(REPO_ROOT, "resources", "images")
DEFAULT_OUT = "/tmp/artwork-preview"
COMMANDS = 8
ALTERNATE_BAND = {0: 1, 2: 3, 4: 5}


def first_row(command):
    for index, row in enumerate(layout.BUTTON_ROWS):
        if row[0] == command:
            return index
    return -1


def compose(skin, states, variants, dimmed=False):
    """states and variants: one entry per command 0..7, as the toolbar keeps them."""
    h = layout.BAND_HEIGHT
    canvas = Image.new("RGBA", layout.CANVAS_SIZE, (0, 0, 0, 0))
    band6 = skin.crop((0, 6 * h, layout.SKIN_WIDTH, 7 * h))
    canvas.paste(band6.crop((0, 0, layout.SHOWN_LEFT_END, h)), (0, 0))
    canvas.paste(band6.crop((layout.SHOWN_RIGHT_START, 0, layout.SKIN_WIDTH, h)), (layout.SHOWN_LEFT_END, 0))
    for n in range(COMMANDS):
        r = first_row(n)
        if r < 0:
            break
        if dimmed:
            if n != 4:
                continue
            r, band = r + variants[4], 6
        else:
            band = states[n]
            if n in (0, 1, 3) and variants[n]:
                band = ALTERNATE_BAND.get(band, band)
            if n == 4:
                r += variants[4]
        _, (left, top, right, bottom), (dx, dy) = layout.BUTTON_ROWS[r]
        canvas.paste(skin.crop((left, band * h + top, right, band * h + bottom)), (dx, dy))
    return canvas


def scenes():
    idle = [0, 0, 6, 0, 0, 0, 0, 0]
    plain = [0] * COMMANDS
    out = [
        ("idle", idle, plain, False),
        ("all-normal", [0] * COMMANDS, plain, False),
        ("speaking-selection", [0, 6, 0, 0, 0, 0, 0, 0], [1, 0, 0, 0, 0, 0, 0, 0], False),
        ("speaking-whole", [6, 0, 0, 0, 0, 0, 0, 0], [0, 1, 0, 0, 0, 0, 0, 0], False),
        ("repeat-lit", idle, [0, 0, 0, 1, 0, 0, 0, 0], False),
        ("all-disabled", [6] * COMMANDS, plain, False),
        ("dimmed", idle, [0, 0, 0, 1, 2, 0, 0, 0], True),
    ]
    for n in range(COMMANDS):
        for look, state in (("hover", 2), ("pressed", 4)):
            states = list(idle if n != 2 else plain)
            states[n] = state
            out.append(("%s-%d" % (look, n), states, plain, False))
    for n, variant in ((0, [1, 0, 0, 0, 0, 0, 0, 0]), (1, [0, 1, 0, 0, 0, 0, 0, 0]), (3, [0, 0, 0, 1, 0, 0, 0, 0])):
        for look, state in (("hover", 2), ("pressed", 4)):
            states = [0] * COMMANDS
            states[n] = state
            out.append(("%s-%d-alternate" % (look, n), states, variant, False))
    for i, lang in enumerate(layout.LANGUAGES):
        variants = list(plain)
        variants[4] = i
        out.append(("language-" + lang, idle, variants, False))
    return out


def backdrop(size, kind):
    if kind == "light":
        return Image.new("RGBA", size, (236, 239, 243, 255))
    if kind == "dark":
        return Image.new("RGBA", size, (32, 34, 38, 255))
    img = Image.new("RGBA", size, (255, 255, 255, 255))
    d = ImageDraw.Draw(img)
    for y in range(0, size[1], 8):
        for x in range(0, size[0], 8):
            if (x // 8 + y // 8) % 2:
                d.rectangle((x, y, x + 7, y + 7), fill=(204, 204, 204, 255))
    return img


def on(canvas, kind, margin=10):
    w, h = canvas.size
    img = backdrop((w + 2 * margin, h + 2 * margin), kind)
    img.alpha_composite(canvas, (margin, margin))
    return img


def enlarge(img, factor=3):
    return img.resize((img.size[0] * factor, img.size[1] * factor), Image.NEAREST)


def hit_overlay(canvas, hitmap):
    """The hit regions tinted over the toolbar, to see that they match the faces."""
    img = on(canvas, "light", margin=0)
    tint = Image.new("RGBA", img.size, (255, 60, 40, 110))
    regions = hitmap.getchannel("A")
    img.paste(Image.alpha_composite(img, tint), (0, 0), regions)
    return enlarge(img)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--images", default=DEFAULT_IMAGES, help="folder holding skin.png")
    parser.add_argument("--out", default=DEFAULT_OUT, help="preview folder (default: %(default)s)")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    skin = Image.open(os.path.join(args.images, "skin.png")).convert("RGBA")

    sheet_rows = []
    for name, states, variants, dimmed in scenes():
        canvas = compose(skin, states, variants, dimmed)
        pair = Image.new("RGBA", (2 * (canvas.size[0] + 20), canvas.size[1] + 20))
        pair.paste(on(canvas, "light"), (0, 0))
        pair.paste(on(canvas, "dark"), (canvas.size[0] + 20, 0))
        pair.save(os.path.join(args.out, name + ".png"))
        enlarge(pair).save(os.path.join(args.out, name + "-3x.png"))
        sheet_rows.append(pair)
    w = sheet_rows[0].size[0]
    sheet = Image.new("RGBA", (w, sum(r.size[1] for r in sheet_rows)))
    y = 0
    for r in sheet_rows:
        sheet.paste(r, (0, y))
        y += r.size[1]
    sheet.save(os.path.join(args.out, "sheet.png"))

    hitmap_path = os.path.join(args.images, "hitmap.png")
    if os.path.exists(hitmap_path):
        hit_overlay(compose(skin, [0] * COMMANDS, [0] * COMMANDS), Image.open(hitmap_path).convert("RGBA")).save(
            os.path.join(args.out, "hit-overlay-3x.png"))
    print(args.out)


if __name__ == "__main__":
    main()
