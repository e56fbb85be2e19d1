"""Checks the generated images against what the program relies on.

Run: /usr/bin/python3 -m unittest discover -s tools/artwork
"""

import io
import os
import struct
import sys
import unittest

from PIL import Image, ImageChops

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import compose_preview  # noqa: E402
import icon_art  # noqa: E402
import layout  # noqa: E402
import skin_builder  # noqa: E402
import toolbar_art  # noqa: E402

H = layout.BAND_HEIGHT


class Built:
    skin = None
    hitmap = None
    icons = None

    @classmethod
    def get(cls):
        if cls.skin is None:
            cls.skin = skin_builder.build_skin()
            cls.hitmap = skin_builder.build_hitmap()
            cls.icons = icon_art.build_icon_images()
        return cls


def band(skin, k):
    return skin.crop((0, k * H, layout.SKIN_WIDTH, (k + 1) * H))


def without_buttons(strip):
    out = strip.copy()
    for _, (l, t, r, b), _ in layout.BUTTON_ROWS:
        out.paste((0, 0, 0, 0), (l, t, r, b))
    return out


class SkinTest(unittest.TestCase):
    def setUp(self):
        self.skin = Built.get().skin

    def test_size_and_transparent_tail(self):
        self.assertEqual(self.skin.size, (430, 435))
        self.assertEqual(self.skin.mode, "RGBA")
        tail = self.skin.crop((0, 7 * H, layout.SKIN_WIDTH, self.skin.size[1]))
        self.assertIsNone(tail.getchannel("A").getbbox())

    def test_everything_but_the_buttons_is_the_same_in_every_band(self):
        reference = without_buttons(band(self.skin, 0))
        for k in range(1, layout.BAND_COUNT):
            diff = ImageChops.difference(without_buttons(band(self.skin, k)), reference)
            self.assertIsNone(diff.getbbox(), "band %d" % k)

    def test_composed_background_is_the_seamless_frame(self):
        frame = toolbar_art.draw_frame()
        states = [6] * compose_preview.COMMANDS
        composed = compose_preview.compose(self.skin, states, [0] * compose_preview.COMMANDS)
        outside = [frame.copy(), composed.copy()]
        for img in outside:
            for row in layout.BUTTON_ROWS:
                img.paste((0, 0, 0, 0), layout.canvas_rect(row))
        self.assertIsNone(ImageChops.difference(*outside).getbbox())

    def test_bands_differ_where_the_looks_differ(self):
        def face(k, command):
            rect = next(src for c, src, _ in layout.BUTTON_ROWS if c == command)
            return band(self.skin, k).crop(rect).tobytes()
        for command in (0, 1, 3):
            self.assertNotEqual(face(0, command), face(1, command))
        for command in range(8):
            looks = {face(k, command) for k in (0, 2, 4, 6)}
            self.assertEqual(len(looks), 4, "command %d" % command)

    def test_language_images_differ(self):
        images = {band(self.skin, 0).crop(src).tobytes() for c, src, _ in layout.BUTTON_ROWS if c == 4}
        self.assertEqual(len(images), 4)

    def test_generation_is_deterministic(self):
        again = skin_builder.build_skin()
        self.assertEqual(again.tobytes(), self.skin.tobytes())


class HitMapTest(unittest.TestCase):
    def setUp(self):
        self.hitmap = Built.get().hitmap

    def test_pixels_are_either_empty_or_a_command(self):
        self.assertEqual(self.hitmap.size, (327, 60))
        colours = {c for _, c in self.hitmap.getcolors(327 * 60)}
        allowed = {(0, 0, 0, 0)} | {(n, 0, 255, 255) for n in range(8)}
        self.assertLessEqual(colours, allowed)

    def test_regions_span_exactly_their_ranges(self):
        px = self.hitmap.load()
        for command, ((x0, x1), (y0, y1), shape) in layout.HIT_REGIONS.items():
            cells = [(x, y) for y in range(60) for x in range(327) if px[x, y] == (command, 0, 255, 255)]
            xs = [x for x, _ in cells]
            ys = [y for _, y in cells]
            self.assertEqual((min(xs), max(xs), min(ys), max(ys)), (x0, x1, y0, y1), "command %d" % command)
            if shape == "square":
                self.assertEqual(len(cells), (x1 - x0 + 1) * (y1 - y0 + 1))
            else:
                self.assertLess(len(cells), (x1 - x0 + 1) * (y1 - y0 + 1))
                self.assertIn(((x0 + x1) // 2, y0), cells)
                self.assertNotIn((x0, y0), cells)

    def test_every_hit_pixel_is_on_a_visible_part_of_the_toolbar(self):
        # fully transparent toolbar pixels let the mouse through to the window below
        skin = Built.get().skin
        for state in (0, 6):
            canvas = compose_preview.compose(skin, [state] * 8, [0] * 8)
            alpha = canvas.getchannel("A").load()
            px = self.hitmap.load()
            for y in range(60):
                for x in range(327):
                    if px[x, y][3]:
                        self.assertEqual(alpha[x, y], 255, (x, y))


class IconTest(unittest.TestCase):
    def setUp(self):
        self.data = icon_art.encode_ico(Built.get().icons)

    def test_directory_lists_the_four_sizes_in_32_bits(self):
        reserved, kind, count = struct.unpack_from("<HHH", self.data, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 4))
        seen = []
        for i in range(count):
            w, h, colours, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", self.data, 6 + 16 * i)
            size = w or 256
            self.assertEqual((w, colours, planes, bits), (h, 0, 1, 32))
            self.assertLessEqual(offset + length, len(self.data))
            blob = self.data[offset:offset + length]
            if size == 256:
                self.assertTrue(blob.startswith(b"\x89PNG"))
            else:
                bi_size, bi_w, bi_h, _, bi_bits = struct.unpack_from("<IiiHH", blob, 0)
                self.assertEqual((bi_size, bi_w, bi_h, bi_bits), (40, size, 2 * size, 32))
                mask_row = ((size + 31) // 32) * 4
                self.assertEqual(length, 40 + 4 * size * size + mask_row * size)
            seen.append(size)
        self.assertEqual(seen, [256, 48, 32, 16])

    def test_pixels_survive_the_encoding(self):
        ico = Image.open(io.BytesIO(self.data))
        for size, expected in Built.get().icons.items():
            ico.size = (size, size)
            ico.load()
            self.assertEqual(ico.convert("RGBA").tobytes(), expected.tobytes(), size)
            self.assertTrue(0 < expected.getchannel("A").getextrema()[1])


if __name__ == "__main__":
    unittest.main()
