#!/usr/bin/python3
"""Builds the uninstaller's pictures from the templates beside this script.

A template is an SVG file whose path data may hold text placeholders:

    d="{{text font=sans-bold size=17 x=100 y=28 anchor=middle | 立即卸载}}"

Each placeholder becomes the outline of its text (see textpath.py). Comments
and indentation are dropped, so the shipped files stay small. The pictures go
to resources/, then the icon is made from resources/icon.svg and previews of
every picture go to docs/pictures/.

    /usr/bin/python3 tools/artwork/build.py            # everything
    /usr/bin/python3 tools/artwork/build.py --svg-only # only the SVG files
"""

import argparse
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)

import textpath  # noqa: E402

TEMPLATES = os.path.join(HERE, "templates")

PLACEHOLDER = re.compile(r"\{\{text ([^|}]*)\|\s*([^}]*?)\s*\}\}")
COMMENT = re.compile(r"<!--.*?-->", re.S)

NUMERIC_OPTIONS = {"size", "x", "y", "spacing"}


def text_outline(options_text, text):
    """Path data for one placeholder's options and text."""
    options = {}
    for item in options_text.split():
        key, _, value = item.partition("=")
        options[key] = float(value) if key in NUMERIC_OPTIONS else value
    decimals = int(options.pop("decimals", 1))
    kerning = options.pop("kerning", "yes") != "no"
    return textpath.outline(text, kerning=kerning, decimals=decimals, **options)


def expand(template_text):
    """The finished SVG text of a template."""
    text = COMMENT.sub("", template_text)
    text = PLACEHOLDER.sub(lambda m: text_outline(m.group(1), m.group(2)), text)
    # One element per line, no indentation: readable diffs, few bytes.
    lines = [line.strip() for line in text.splitlines()]
    return "\n".join(line for line in lines if line) + "\n"


def build_svgs(out_dir):
    """Expands every template into out_dir; returns the written paths."""
    os.makedirs(out_dir, exist_ok=True)
    written = []
    for name in sorted(os.listdir(TEMPLATES)):
        if not name.endswith(".svg"):
            continue
        with open(os.path.join(TEMPLATES, name), encoding="utf-8") as f:
            svg = expand(f.read())
        path = os.path.join(out_dir, name)
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(svg)
        written.append(path)
    return written


def main(argv):
    parser = argparse.ArgumentParser(description="Regenerates the uninstaller's artwork.")
    parser.add_argument("--out", default=os.path.join(ROOT, "resources"),
                        help="folder for the SVG pictures and the icon")
    parser.add_argument("--previews", default=os.path.join(ROOT, "docs", "pictures"),
                        help="folder for the PNG previews")
    parser.add_argument("--svg-only", action="store_true", help="skip the icon and the previews")
    args = parser.parse_args(argv)

    for path in build_svgs(args.out):
        print("wrote %s (%d bytes)" % (os.path.relpath(path, ROOT), os.path.getsize(path)))
    if args.svg_only:
        return 0

    import icon
    import preview
    ico = os.path.join(args.out, "icon.ico")
    icon.build_icon(os.path.join(args.out, "icon.svg"), ico)
    print("wrote %s (%d bytes)" % (os.path.relpath(ico, ROOT), os.path.getsize(ico)))
    for path in preview.render_previews(args.out, args.previews):
        print("wrote %s" % os.path.relpath(path, ROOT))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
