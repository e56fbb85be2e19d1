"""Turns the user's manual (docs/manual/manual.md) into one HTML page for weasyprint.

Run with Debian's interpreter (/usr/bin/python3), which has python3-markdown:
    /usr/bin/python3 scripts/manual_html.py MANUAL_MD OUTPUT_HTML VERSION [SUPPORT_URL]

{{VERSION}} in the text becomes VERSION. A line holding {{SUPPORT_URL}} gets SUPPORT_URL, or is
left out when no address is given. Every picture the text names must exist: a missing one
would otherwise leave an empty space in the printed manual without a word of warning.
"""

import html
import pathlib
import re
import sys

import markdown
from markdown.extensions.toc import slugify_unicode

TITLE = "Ostrel Quartet ユーザーズマニュアル"
AUTHOR = "Brantic"


def fail(message):
    print(f"build-manual: {message}", file=sys.stderr)
    sys.exit(1)


def fill_in(text, version, support_url):
    if "{{VERSION}}" not in text:
        fail("the manual does not print its version ({{VERSION}} is missing)")
    text = text.replace("{{VERSION}}", version)
    lines = []
    for line in text.splitlines(keepends=True):
        if "{{SUPPORT_URL}}" in line:
            if not support_url:
                continue
            line = line.replace("{{SUPPORT_URL}}", support_url)
        lines.append(line)
    return "".join(lines)


def check_pictures(body, base):
    missing = []
    for source in re.findall(r'<img[^>]*\ssrc="([^"]+)"', body):
        if "://" in source:
            fail(f"pictures must be files of the repository, not {source}")
        if not (base / html.unescape(source)).is_file():
            missing.append(source)
    if missing:
        fail("pictures not found (relative to " + str(base) + "): " + ", ".join(missing))


def main(argv):
    if len(argv) not in (4, 5):
        fail("usage: manual_html.py MANUAL_MD OUTPUT_HTML VERSION [SUPPORT_URL]")
    source = pathlib.Path(argv[1])
    output = pathlib.Path(argv[2])
    version = argv[3].strip()
    support_url = argv[4].strip() if len(argv) == 5 else ""
    if not re.fullmatch(r"\d+(\.\d+){1,3}", version):
        fail(f"not a version number: '{version}'")
    try:
        text = source.read_text(encoding="utf-8")
    except (OSError, UnicodeDecodeError) as error:
        fail(f"cannot read {source}: {error}")

    converter = markdown.Markdown(
        extensions=["toc", "tables", "attr_list", "md_in_html", "sane_lists", "def_list", "fenced_code"],
        extension_configs={"toc": {"toc_depth": "1-2", "slugify": slugify_unicode}},
        output_format="html",
    )
    body = converter.convert(fill_in(text, version, support_url))
    # Ctrl+Shift+P is one thing to the reader: kept on one line.
    body = re.sub(r"<kbd>[^<]+</kbd>(?:\+<kbd>[^<]+</kbd>)+", lambda m: f'<span class="combo">{m.group(0)}</span>', body)
    if 'class="toc"' not in body:
        fail("the manual has no table of contents ([TOC] is missing)")
    check_pictures(body, source.parent)

    page = f"""<!DOCTYPE html>
<html lang="ja">
<head>
<meta charset="utf-8">
<title>{html.escape(TITLE)}</title>
<meta name="author" content="{html.escape(AUTHOR)}">
<meta name="description" content="Ostrel Quartet {html.escape(version)}">
<link rel="stylesheet" href="manual.css">
</head>
<body>
{body}
</body>
</html>
"""
    output.write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main(sys.argv)
