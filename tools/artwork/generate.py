#!/usr/bin/python3
"""Regenerates the toolbar skin, the hit map and the application icon.

Usage: /usr/bin/python3 tools/artwork/generate.py [--out DIR]
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import icon_art  # noqa: E402
import raster  # noqa: E402
import skin_builder  # noqa: E402

REPO_ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
DEFAULT_OUT = os.path.join(REPO_ROOT, "resources", "images")


def save_png(image, path):
    # no metadata and a fixed compression level keep the bytes identical from run to run
    raster.clear_transparent(image).save(path, format="PNG", optimize=False, compress_level=9)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=DEFAULT_OUT, help="output folder (default: resources/images)")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    save_png(skin_builder.build_skin(), os.path.join(args.out, "skin.png"))
    save_png(skin_builder.build_hitmap(), os.path.join(args.out, "hitmap.png"))
    images = icon_art.build_icon_images()
    with open(os.path.join(args.out, "app.ico"), "wb") as f:
        f.write(icon_art.encode_ico(images))
    save_png(images[256], os.path.join(args.out, "app-256.png"))
    for name in ("skin.png", "hitmap.png", "app.ico", "app-256.png"):
        print(os.path.join(args.out, name))


if __name__ == "__main__":
    main()
