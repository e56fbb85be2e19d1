"""Fixed geometry of the toolbar images: the program's button table and hit regions.

These numbers are what the program composes with; the artwork must fit them.
"""

SKIN_WIDTH = 430
BAND_HEIGHT = 60
BAND_COUNT = 7
SKIN_HEIGHT = BAND_HEIGHT * BAND_COUNT + 15
CANVAS_WIDTH = 327
CANVAS_SIZE = (CANVAS_WIDTH, BAND_HEIGHT)

# The canvas shows skin columns 0..256, then skin columns 360.. from canvas column 257 on.
SHOWN_LEFT_END = 257
SHOWN_RIGHT_START = 360


def canvas_to_skin_x(x):
    return x if x < SHOWN_LEFT_END else x + (SHOWN_RIGHT_START - SHOWN_LEFT_END)


# Button table rows: (command, skin rect (left, top, right, bottom), canvas destination).
BUTTON_ROWS = [
    (0, (57, 10, 97, 50), (57, 10)),
    (1, (108, 5, 154, 54), (108, 5)),
    (2, (158, 18, 183, 44), (158, 18)),
    (3, (185, 18, 210, 44), (185, 18)),
    (4, (228, 18, 255, 44), (228, 18)),
    (4, (262, 18, 289, 44), (228, 18)),
    (4, (297, 18, 324, 44), (228, 18)),
    (4, (331, 18, 358, 44), (228, 18)),
    (5, (366, 18, 393, 44), (263, 18)),
    (6, (399, 17, 413, 30), (296, 17)),
    (7, (399, 31, 413, 45), (296, 31)),
]

LANGUAGE_ROW_FIRST = 4
LANGUAGES = ["ja", "zh", "en", "ko"]

# Skin band per look; odd bands carry the alternate faces (pause sign, repeat lit).
BAND_LOOK = ["normal", "normal", "hover", "hover", "pressed", "pressed", "disabled"]
BAND_ALTERNATE = [False, True, False, True, False, True, False]

# Hit regions on the canvas, inclusive column and row ranges.
HIT_REGIONS = {
    0: ((62, 95), (13, 47), "rounded"),
    1: ((110, 149), (9, 48), "circle"),
    2: ((161, 180), (21, 40), "square"),
    3: ((189, 208), (21, 40), "square"),
    4: ((230, 253), (19, 42), "square"),
    5: ((264, 287), (19, 42), "square"),
    6: ((296, 309), (17, 30), "square"),
    7: ((296, 309), (32, 45), "square"),
}
HIT_ROUNDED_RADIUS = 8


def canvas_rect(row):
    """The canvas rectangle (left, top, right, bottom) a table row is drawn to."""
    _, (l, t, r, b), (dx, dy) = row
    return (dx, dy, dx + r - l, dy + b - t)


def command_canvas_rect(command):
    for row in BUTTON_ROWS:
        if row[0] == command:
            return canvas_rect(row)
    raise KeyError(command)
