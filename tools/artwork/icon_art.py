"""The application icon: the toolbar's emblem on a larger tile, one picture per icon size."""

import io
import struct

from PIL import Image

import raster
from raster import rgba
import toolbar_art

ICON_SIZES = (256, 48, 32, 16)

# margin around the tile, in pixels, per size; small sizes use the whole square
MARGIN = {256: 14.0, 48: 2.0, 32: 1.0, 16: 0.0}


def draw_icon(size):
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    m = MARGIN[size]
    u = size / 32.0
    shadow_room = 0.0 if size <= 32 else 1.2 * u
    x0, y0, x1, y1 = m, m, size - m, size - m - shadow_room
    radius = 0.22 * (x1 - x0)
    edge = max(1.0, size / 100.0) if size >= 32 else 0.9
    if shadow_room:
        shadow = raster.mask(img.size, lambda p: p.rounded_rect(x0 + u, y0 + 1.5 * u, x1 - u, y1 + shadow_room,
                                                                 radius))
        raster.fill(img, raster.blur(shadow, 1.2 * u), rgba("000000", 120))
    outer = raster.mask(img.size, lambda p: p.rounded_rect(x0, y0, x1, y1, radius))
    raster.fill(img, outer, rgba("0e4347", 240))
    inner = raster.mask(img.size, lambda p: p.rounded_rect(x0 + edge, y0 + edge, x1 - edge, y1 - edge, radius - edge))
    raster.fill(img, inner, raster.vertical_gradient(
        img.size, [(y0, rgba("5ad6c9")), ((y0 + y1) / 2, toolbar_art.PALETTE["accent_hi"]), (y1, rgba("16777a"))]))
    if size >= 32:
        # a soft light rim along the top
        lower = raster.mask(img.size, lambda p: p.rounded_rect(x0 + edge, y0 + edge + u, x1 - edge, y1 - edge,
                                                                radius - edge))
        raster.fill(img, raster.subtract(inner, lower), raster.vertical_gradient(
            img.size, [(y0, rgba("ffffff", 150)), ((y0 + y1) / 2, rgba("ffffff", 0))]))
    tile = x1 - x0
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2 + 0.02 * tile
    scale = 0.92 if size > 16 else 1.0
    if size >= 48:
        halo = raster.mask(img.size, lambda p: toolbar_art.emblem_paint(p, cx, cy + 0.6 * u, tile * scale))
        raster.fill(img, raster.blur(halo, 0.6 * u), rgba("0b3236", 110))
    mark = raster.mask(img.size, lambda p: toolbar_art.emblem_paint(p, cx, cy, tile * scale))
    raster.fill(img, mark, rgba("ffffff"))
    return img


def build_icon_images():
    return {size: raster.clear_transparent(draw_icon(size)) for size in ICON_SIZES}


def _png_bytes(image):
    buf = io.BytesIO()
    image.save(buf, format="PNG", optimize=False, compress_level=9)
    return buf.getvalue()


def _dib_bytes(image):
    """32-bit BGRA DIB with its AND mask, bottom-up, as icon resources store it."""
    w, h = image.size
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = image.load()
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = pixels[x, y]
            xor += bytes((b, g, r, a))
    row_bytes = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(w):
            if pixels[x, y][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(xor) + bytes(mask)


def encode_ico(images):
    """An icon group file: 256 px as PNG (as Windows expects it), the smaller sizes as DIBs."""
    sizes = sorted(images, reverse=True)
    blobs = [(_png_bytes(images[s]) if s >= 256 else _dib_bytes(images[s])) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for s, blob in zip(sizes, blobs):
        dim = 0 if s >= 256 else s
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)
