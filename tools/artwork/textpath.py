#!/usr/bin/python3
"""Turns a line of text into SVG path data (glyph outlines), so pictures carry
their labels as shapes and need no font at run time.

Fonts come from Debian's fonts-noto-cjk (SIL Open Font License). Run with
/usr/bin/python3, which has Debian's fontTools.

    tools/artwork/textpath.py --font sans-bold --size 18 --x 100 --y 28 \
        --anchor middle "立即卸载"

prints the path data; --bbox prints the outline's bounding box instead.
"""

import argparse
import math
import os
import sys

from fontTools.pens.basePen import BasePen
from fontTools.ttLib import TTCollection, TTFont

NOTO_DIR = "/usr/share/fonts/opentype/noto"

# Face name -> (file, face index inside the collection). Index 2 is the
# Simplified Chinese face of the Noto Sans CJK collections.
FACES = {
    "sans": (os.path.join(NOTO_DIR, "NotoSansCJK-Regular.ttc"), 2),
    "sans-bold": (os.path.join(NOTO_DIR, "NotoSansCJK-Bold.ttc"), 2),
}

_loaded = {}


def load_face(name):
    """Returns the TTFont for a face name of FACES, loading it once."""
    if name not in FACES:
        raise SystemExit("textpath: unknown font %r (known: %s)" % (name, ", ".join(sorted(FACES))))
    if name not in _loaded:
        path, index = FACES[name]
        if not os.path.exists(path):
            raise SystemExit("textpath: %s is missing; install the Debian package fonts-noto-cjk "
                             "(tools/bootstrap does)" % path)
        if path.endswith(".ttc"):
            font = TTCollection(path, lazy=True).fonts[index]
        else:
            font = TTFont(path, lazy=True)
        _loaded[name] = font
    return _loaded[name]


def _pair_kerning(font):
    """Collects the horizontal pair adjustments of the font's 'kern' feature
    as a function (left glyph, right glyph) -> advance change in font units."""
    if "GPOS" not in font:
        return lambda a, b: 0
    gpos = font["GPOS"].table
    lookup_ids = set()
    for record in gpos.FeatureList.FeatureRecord:
        if record.FeatureTag == "kern":
            lookup_ids.update(record.Feature.LookupListIndex)
    subtables = []
    for index in sorted(lookup_ids):
        lookup = gpos.LookupList.Lookup[index]
        for sub in lookup.SubTable:
            if lookup.LookupType == 9:
                if sub.ExtensionLookupType != 2:
                    continue
                sub = sub.ExtSubTable
            elif lookup.LookupType != 2:
                continue
            subtables.append(sub)

    def x_advance(value):
        return getattr(value, "XAdvance", 0) or 0 if value is not None else 0

    def kern(left, right):
        for sub in subtables:
            if left not in sub.Coverage.glyphs:
                continue
            if sub.Format == 1:
                pair_set = sub.PairSet[sub.Coverage.glyphs.index(left)]
                for record in pair_set.PairValueRecord:
                    if record.SecondGlyph == right:
                        return x_advance(record.Value1)
            elif sub.Format == 2:
                c1 = sub.ClassDef1.classDefs.get(left, 0)
                c2 = sub.ClassDef2.classDefs.get(right, 0)
                return x_advance(sub.Class1Record[c1].Class2Record[c2].Value1)
        return 0

    return kern


class _OutlinePen(BasePen):
    """Collects glyph contours as absolute segments in picture coordinates."""

    def __init__(self, glyph_set, to_picture):
        super().__init__(glyph_set)
        self.to_picture = to_picture
        self.contours = []

    def _moveTo(self, pt):
        self.contours.append([("M", [self.to_picture(pt)])])

    def _lineTo(self, pt):
        self.contours[-1].append(("L", [self.to_picture(pt)]))

    def _curveToOne(self, p1, p2, p3):
        self.contours[-1].append(("C", [self.to_picture(p) for p in (p1, p2, p3)]))

    def _qCurveToOne(self, p1, p2):
        self.contours[-1].append(("Q", [self.to_picture(p) for p in (p1, p2)]))

    def _closePath(self):
        pass

    def _endPath(self):
        pass


def _number(value, decimals):
    """Shortest text of a rounded number: no exponent, no trailing dot
    (which our SVG reader refuses), no leading zero."""
    text = ("%.*f" % (decimals, value)).rstrip("0").rstrip(".") if decimals else "%d" % value
    if text in ("-0", ""):
        text = "0"
    if text.startswith("0."):
        text = text[1:]
    elif text.startswith("-0."):
        text = "-" + text[2:]
    return text


class _Writer:
    """Writes relative path commands with as few characters as the SVG path
    grammar allows: repeated letters are left out, a minus sign separates."""

    def __init__(self, decimals):
        self.decimals = decimals
        self.parts = []
        self.last_letter = None

    def command(self, letter, numbers):
        texts = [_number(n, self.decimals) for n in numbers]
        if letter != self.last_letter or letter in "Mm":
            self.parts.append(letter)
            first_needs_space = False
        else:
            first_needs_space = True
        for i, text in enumerate(texts):
            if (i > 0 or first_needs_space) and not text.startswith("-"):
                self.parts.append(" ")
            self.parts.append(text)
        self.last_letter = letter

    def close(self):
        self.parts.append("z")
        self.last_letter = "z"

    def text(self):
        return "".join(self.parts)


def layout(text, font="sans", size=16.0, x=0.0, y=0.0, anchor="start", spacing=0.0, kerning=True):
    """Places the glyphs of one line and returns its contours (absolute
    picture coordinates, y down) and the line's advance width."""
    face = load_face(font)
    glyph_set = face.getGlyphSet()
    cmap = face.getBestCmap()
    hmtx = face["hmtx"]
    kern = _pair_kerning(face) if kerning else (lambda a, b: 0)
    scale = size / face["head"].unitsPerEm

    names = []
    for ch in text:
        if ord(ch) not in cmap:
            raise SystemExit("textpath: the font %s has no glyph for %r" % (font, ch))
        names.append(cmap[ord(ch)])

    origins = []
    pen_x = 0.0
    for i, name in enumerate(names):
        origins.append(pen_x)
        pen_x += hmtx[name][0]
        if i + 1 < len(names):
            pen_x += kern(name, names[i + 1]) + spacing / scale
    width = pen_x * scale
    start = x - {"start": 0.0, "middle": width / 2, "end": width}[anchor]

    contours = []
    for name, origin in zip(names, origins):
        ox = start + origin * scale
        pen = _OutlinePen(glyph_set, lambda p, ox=ox: (ox + p[0] * scale, y - p[1] * scale))
        glyph_set[name].draw(pen)
        contours.extend(pen.contours)
    return contours, width


def path_data(contours, decimals=1):
    """SVG path data of contours: the first point absolute, the rest relative
    to rounded points so rounding errors never add up."""
    writer = _Writer(decimals)
    factor = 10 ** decimals

    def snap(p):
        return (round(p[0] * factor) / factor, round(p[1] * factor) / factor)

    current = None
    for contour in contours:
        start = snap(contour[0][1][0])
        if current is None:
            writer.command("M", start)
        else:
            writer.command("m", (start[0] - current[0], start[1] - current[1]))
        current = start
        for kind, points in contour[1:]:
            points = [snap(p) for p in points]
            deltas = []
            for p in points:
                deltas += [p[0] - current[0], p[1] - current[1]]
            if all(abs(d) < 0.5 / factor for d in deltas):
                continue
            if kind == "L":
                if abs(deltas[1]) < 0.5 / factor:
                    writer.command("h", deltas[:1])
                elif abs(deltas[0]) < 0.5 / factor:
                    writer.command("v", deltas[1:])
                else:
                    writer.command("l", deltas)
            else:
                writer.command(kind.lower(), deltas)
            current = points[-1]
        writer.close()
        current = start
    return writer.text()


def bounding_box(contours):
    """Box (left, top, right, bottom) around all points, control points included."""
    xs = [p[0] for contour in contours for _, points in contour for p in points]
    ys = [p[1] for contour in contours for _, points in contour for p in points]
    if not xs:
        return (0.0, 0.0, 0.0, 0.0)
    return (min(xs), min(ys), max(xs), max(ys))


def outline(text, font="sans", size=16.0, x=0.0, y=0.0, anchor="start", spacing=0.0,
            kerning=True, decimals=1):
    """Path data of a line of text with its baseline at y."""
    contours, _ = layout(text, font, size, x, y, anchor, spacing, kerning)
    return path_data(contours, decimals)


def main(argv):
    parser = argparse.ArgumentParser(description="Text to SVG path outlines.")
    parser.add_argument("text")
    parser.add_argument("--font", default="sans", choices=sorted(FACES))
    parser.add_argument("--size", type=float, default=16.0, help="em size in picture units")
    parser.add_argument("--x", type=float, default=0.0)
    parser.add_argument("--y", type=float, default=0.0, help="baseline")
    parser.add_argument("--anchor", default="start", choices=("start", "middle", "end"))
    parser.add_argument("--spacing", type=float, default=0.0, help="extra space between letters")
    parser.add_argument("--no-kerning", action="store_true")
    parser.add_argument("--decimals", type=int, default=1)
    parser.add_argument("--bbox", action="store_true", help="print the bounding box and width")
    args = parser.parse_args(argv)
    contours, width = layout(args.text, args.font, args.size, args.x, args.y, args.anchor,
                             args.spacing, not args.no_kerning)
    if args.bbox:
        box = bounding_box(contours)
        print("left %.2f top %.2f right %.2f bottom %.2f advance %.2f" % (box + (width,)))
    else:
        print(path_data(contours, args.decimals))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
