#!/usr/bin/python3
"""Builds the uninstaller's pictures from the templates beside this script.

A template is an SVG file whose path data may hold placeholders:

    d="{{text font=sans-bold size=17 x=100 y=28 anchor=middle | 立即卸载}}"
    d="{{roundrect X Y WIDTH HEIGHT RADIUS}}"
    d="{{cross CX CY HALF_SPAN WIDTH}}"

A text placeholder becomes the outline of its text (see textpath.py); the
others become the outline of a rounded rectangle or of a round-capped cross.
Outlines (rather than strokes) let a shape be cut out of another exactly. Comments
and indentation are dropped, so the shipped files stay small. The pictures go
to resources/, then the icon is made from resources/icon.svg (and
icon-small.svg for 16 and 24 pixels) and previews of every picture go to
docs/pictures/.

    /usr/bin/python3 tools/artwork/build.py            # everything
    /usr/bin/python3 tools/artwork/build.py --svg-only # only the SVG files
"""

import argparse
import math
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

SHAPE = re.compile(r"\{\{(roundrect|cross) ([^}]*)\}\}")

NUMERIC_OPTIONS = {"size", "x", "y", "spacing"}


def _pair(x, y):
    return "%s %s" % (textpath._number(x, 2), textpath._number(y, 2))


def roundrect_outline(x, y, width, height, radius):
    """Clockwise outline of a rounded rectangle."""
    r = radius
    arc = "A%s 0 0 1 " % _pair(r, r)
    return "".join([
        "M", _pair(x + r, y), "H", textpath._number(x + width - r, 2),
        arc, _pair(x + width, y + r), "V", textpath._number(y + height - r, 2),
        arc, _pair(x + width - r, y + height), "H", textpath._number(x + r, 2),
        arc, _pair(x, y + height - r), "V", textpath._number(y + r, 2),
        arc, _pair(x + r, y), "Z"])


def cross_outline(cx, cy, half_span, width):
    """Outline of an X whose arms run half_span (along each axis) from the
    centre, drawn as with a round-capped pen of the given width."""
    w = width / 2
    s = 1 / math.sqrt(2)
    arms = [(s, -s), (s, s), (-s, s), (-s, -s)]  # clockwise from the upper right
    length = half_span * math.sqrt(2)
    parts = []
    for i, (ax, ay) in enumerate(arms):
        bx, by = arms[(i + 1) % 4]
        px, py = arms[i - 1]
        # Corner between the previous arm and this one.
        mx, my = ax + px, ay + py
        norm = math.hypot(mx, my)
        corner = (cx + w * math.sqrt(2) * mx / norm, cy + w * math.sqrt(2) * my / norm)
        tip = (cx + length * ax, cy + length * ay)
        ccw, cw = (ay, -ax), (-ay, ax)  # the two sides of the arm
        parts.append(("M" if i == 0 else "L") + _pair(*corner))
        parts.append("L" + _pair(tip[0] + w * ccw[0], tip[1] + w * ccw[1]))
        parts.append("A%s 0 0 1 %s" % (_pair(w, w), _pair(tip[0] + w * cw[0], tip[1] + w * cw[1])))
    parts.append("Z")
    return "".join(parts)


def shape_outline(kind, arguments):
    numbers = [float(a) for a in arguments.split()]
    return roundrect_outline(*numbers) if kind == "roundrect" else cross_outline(*numbers)


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
    text = SHAPE.sub(lambda m: shape_outline(m.group(1), m.group(2)), text)
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
    icon.build_icon(os.path.join(args.out, "icon.svg"), ico,
                    os.path.join(args.out, "icon-small.svg"))
    print("wrote %s (%d bytes)" % (os.path.relpath(ico, ROOT), os.path.getsize(ico)))
    for path in preview.render_previews(args.out, args.previews):
        print("wrote %s" % os.path.relpath(path, ROOT))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
