#!/usr/bin/python3
"""Checks the shipped pictures, the icon and the scripts that make them."""

import math
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
RESOURCES = os.path.join(ROOT, "resources")
ARTWORK = os.path.join(ROOT, "tools", "artwork")
sys.path.insert(0, ARTWORK)

import icon  # noqa: E402
import textpath  # noqa: E402

SVG_NS = "{http://www.w3.org/2000/svg}"

# Picture file -> size in units (the viewBox and the width/height).
PICTURES = {
    "background.svg": (700, 400),
    "logo.svg": (131, 24),
    "minimize.svg": (72, 24),
    "close.svg": (72, 24),
    "uninstall-button.svg": (200, 44),
    "exit-button.svg": (200, 44),
    "icon.svg": (256, 256),
    "icon-small.svg": (256, 256),
}

# What our SVG engine reads; anything else would be skipped or misread. Radial
# gradients are left out: GDI+'s path-gradient brush, which a radial gradient
# maps to most directly, paints plain white under Wine.
ELEMENTS = {"svg", "g", "defs", "rect", "circle", "ellipse", "line", "polyline", "polygon",
            "path", "linearGradient", "stop"}
ATTRIBUTES = {
    "xmlns", "width", "height", "viewBox", "id", "x", "y", "rx", "ry", "cx", "cy", "r", "fx",
    "fy", "x1", "y1", "x2", "y2", "points", "d", "offset", "gradientUnits", "spreadMethod",
    "fill", "fill-opacity", "fill-rule", "stroke", "stroke-width", "stroke-opacity",
    "stroke-linecap", "stroke-linejoin", "stroke-miterlimit", "opacity", "stop-color",
    "stop-opacity",
}
# The engine's number: optional minus, digits with an optional fraction or a
# bare fraction; no "5." (refused), no exponent, no plus sign.
NUMBER = r"-?(?:\d+(?:\.\d+)?|\.\d+)"
NUMBER_RE = re.compile("^" + NUMBER + "$")
PATH_TOKEN = re.compile(r"[MmLlHhVvCcSsQqTtAaZz]|" + NUMBER + r"|[ ,]+|(.)")
COLOUR = re.compile(r"^#(?:[0-9A-Fa-f]{3}|[0-9A-Fa-f]{6})$")
NUMERIC_ATTRIBUTES = ATTRIBUTES - {"xmlns", "viewBox", "id", "points", "d", "gradientUnits",
                                   "spreadMethod", "fill", "stroke", "fill-rule",
                                   "stroke-linecap", "stroke-linejoin", "stop-color"}
ARGS = {"M": 2, "L": 2, "H": 1, "V": 1, "C": 6, "S": 4, "Q": 4, "T": 2, "A": 7, "Z": 0}


def load(name):
    with open(os.path.join(RESOURCES, name), encoding="utf-8") as f:
        text = f.read()
    return text, ET.fromstring(text)


def local(tag):
    return tag[len(SVG_NS):] if tag.startswith(SVG_NS) else tag


def path_points(d):
    """Absolute end and control points of path data, and points along its
    arcs. Refuses any character our engine's path reader would misread."""
    tokens = []
    for m in PATH_TOKEN.finditer(d):
        if m.group(1) is not None:
            raise ValueError("unexpected %r in path data" % m.group(1))
        if m.group(0).strip(" ,"):
            tokens.append(m.group(0))
    points, i, command = [], 0, None
    cx = cy = sx = sy = 0.0
    while i < len(tokens):
        if tokens[i].isalpha():
            command = tokens[i]
            i += 1
            if command in "Zz":
                cx, cy = sx, sy
                continue
        upper = command.upper()
        args = [float(t) for t in tokens[i:i + ARGS[upper]]]
        if len(args) != ARGS[upper] or any(t.isalpha() for t in tokens[i:i + ARGS[upper]]):
            raise ValueError("short argument list for %s" % command)
        i += ARGS[upper]
        rel = command.islower()
        if upper == "H":
            cx = args[0] + (cx if rel else 0)
        elif upper == "V":
            cy = args[0] + (cy if rel else 0)
        elif upper == "A":
            ex, ey = args[5] + (cx if rel else 0), args[6] + (cy if rel else 0)
            points += arc_points((cx, cy), args[0], args[1], args[3], args[4], (ex, ey))
            cx, cy = ex, ey
        else:
            pairs = [(args[k] + (cx if rel else 0), args[k + 1] + (cy if rel else 0))
                     for k in range(0, len(args), 2)]
            points += pairs
            cx, cy = pairs[-1]
        if upper == "M":
            sx, sy = cx, cy
            command = "l" if rel else "L"
        points.append((cx, cy))
    return points


def arc_points(start, rx, ry, large, sweep, end, samples=16):
    """Points along an axis-aligned elliptical arc (SVG's endpoint form)."""
    (x1, y1), (x2, y2) = start, end
    rx, ry = abs(rx), abs(ry)
    if rx == 0 or ry == 0:
        return [end]
    hx, hy = (x1 - x2) / 2, (y1 - y2) / 2
    scale = math.sqrt(max(1.0, hx * hx / (rx * rx) + hy * hy / (ry * ry)))
    rx, ry = rx * scale, ry * scale
    num = rx * rx * ry * ry - rx * rx * hy * hy - ry * ry * hx * hx
    k = math.sqrt(max(0.0, num) / (rx * rx * hy * hy + ry * ry * hx * hx))
    if large == sweep:
        k = -k
    ccx = k * rx * hy / ry + (x1 + x2) / 2
    ccy = -k * ry * hx / rx + (y1 + y2) / 2
    a1 = math.atan2((y1 - ccy) / ry, (x1 - ccx) / rx)
    a2 = math.atan2((y2 - ccy) / ry, (x2 - ccx) / rx)
    delta = a2 - a1
    if sweep and delta < 0:
        delta += 2 * math.pi
    elif not sweep and delta > 0:
        delta -= 2 * math.pi
    return [(ccx + rx * math.cos(a1 + delta * i / samples), ccy + ry * math.sin(a1 + delta * i / samples))
            for i in range(samples + 1)]


def box(points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return min(xs), min(ys), max(xs), max(ys)


class SupportedSubset(unittest.TestCase):
    """Every picture keeps to what our engine reads, the way it reads it."""

    def test_elements_and_attributes(self):
        for name in PICTURES:
            with self.subTest(picture=name):
                _, root = load(name)
                for element in root.iter():
                    self.assertIn(local(element.tag), ELEMENTS)
                    for attribute in element.attrib:
                        self.assertIn(attribute, ATTRIBUTES,
                                      "%s on <%s>" % (attribute, local(element.tag)))

    def test_values_are_read_the_same_by_every_renderer(self):
        for name in PICTURES:
            with self.subTest(picture=name):
                _, root = load(name)
                defined = set()
                for element in root.iter():
                    tag = local(element.tag)
                    if tag in ("linearGradient", "radialGradient"):
                        # Our engine reads gradient coordinates in user space only.
                        self.assertEqual(element.get("gradientUnits"), "userSpaceOnUse")
                        self.assertTrue(element.get("id"))
                    for attribute, value in element.attrib.items():
                        if attribute in NUMERIC_ATTRIBUTES:
                            self.assertRegex(value, NUMBER_RE, "%s=%r" % (attribute, value))
                        if attribute in ("fill", "stroke", "stop-color"):
                            if value.startswith("url(#"):
                                # References resolve only to earlier definitions.
                                self.assertIn(value[5:-1], defined)
                            elif value != "none":
                                self.assertRegex(value, COLOUR)
                    if attribute_id := element.get("id"):
                        defined.add(attribute_id)
                    if tag == "path":
                        self.assertTrue(path_points(element.get("d")))
                    if tag == "stop":
                        self.assertLessEqual(float(element.get("offset")), 1)

    def test_sizes(self):
        for name, (width, height) in PICTURES.items():
            with self.subTest(picture=name):
                _, root = load(name)
                self.assertEqual(local(root.tag), "svg")
                self.assertEqual(root.get("viewBox"), "0 0 %d %d" % (width, height))
                self.assertEqual((root.get("width"), root.get("height")), (str(width), str(height)))

    def test_shapes_stay_on_the_canvas(self):
        for name, (width, height) in PICTURES.items():
            with self.subTest(picture=name):
                _, root = load(name)
                for element in root.iter(SVG_NS + "path"):
                    left, top, right, bottom = box(path_points(element.get("d")))
                    self.assertGreaterEqual(left, 0)
                    self.assertGreaterEqual(top, 0)
                    self.assertLessEqual(right, width)
                    self.assertLessEqual(bottom, height)

    def test_files_stay_small(self):
        total = sum(os.path.getsize(os.path.join(RESOURCES, n)) for n in PICTURES)
        self.assertLess(total, 48 * 1024)
        self.assertLess(os.path.getsize(os.path.join(RESOURCES, "icon.ico")), 96 * 1024)


class Sprites(unittest.TestCase):
    """Minimise and close hold three 24-unit cells as the buttons draw them."""

    def test_cells(self):
        for name in ("minimize.svg", "close.svg"):
            _, root = load(name)
            groups = [g for g in root if local(g.tag) == "g"]
            self.assertEqual([g.get("id") for g in groups], ["normal", "hover", "pushed"])
            self.assertEqual([float(g.get("opacity", "1")) for g in groups], [1.0, 0.8, 0.3])
            for cell, group in enumerate(groups):
                with self.subTest(picture=name, cell=group.get("id")):
                    points = []
                    for element in group:
                        self.assertIsNone(element.get("opacity"))
                        if local(element.tag) == "path":
                            points += path_points(element.get("d"))
                        else:
                            x, y = float(element.get("x", "0")), float(element.get("y", "0"))
                            points += [(x, y), (x + float(element.get("width")),
                                                y + float(element.get("height")))]
                    left, top, right, bottom = box(points)
                    # A cell drawn alone must not reach into its neighbours.
                    self.assertGreaterEqual(left, 24 * cell)
                    self.assertLessEqual(right, 24 * (cell + 1))
                    self.assertGreaterEqual(top, 0)
                    self.assertLessEqual(bottom, 24)


    def test_faded_groups_have_no_overlapping_shapes(self):
        """Our engine fades a group by fading each shape (SVG fades the group
        as one layer); the two agree only while no shape covers another, or
        a later shape exactly fills a hole cut for it in an earlier one."""
        for name in ("minimize.svg", "close.svg"):
            _, root = load(name)
            for group in root.iter(SVG_NS + "g"):
                if float(group.get("opacity", "1")) == 1:
                    continue
                shapes = list(group)
                for i, lower in enumerate(shapes):
                    for upper in shapes[i + 1:]:
                        with self.subTest(picture=name, group=group.get("id")):
                            d_lower, d_upper = lower.get("d"), upper.get("d")
                            if lower.get("fill-rule") == "evenodd" and d_lower.endswith(d_upper):
                                continue
                            a = box(path_points(d_lower))
                            b = box(path_points(d_upper))
                            disjoint = a[2] <= b[0] or b[2] <= a[0] or a[3] <= b[1] or b[3] <= a[1]
                            self.assertTrue(disjoint)


class Buttons(unittest.TestCase):
    """The action buttons are recoloured through their first fill colour."""

    def test_first_fill_is_the_body(self):
        for name in ("uninstall-button.svg", "exit-button.svg"):
            with self.subTest(picture=name):
                text, root = load(name)
                first = re.search(r'fill="(#[0-9A-Fa-f]{6})"', text)
                self.assertIsNotNone(first)
                body = root[0]
                self.assertEqual(local(body.tag), "rect")
                self.assertEqual(body.get("fill"), first.group(1))
                # The body starts before any other fill in the text.
                self.assertLess(text.index("<rect"), first.start())
                self.assertEqual(first.group(1).upper(), "#00D766")
                self.assertEqual((body.get("width"), body.get("height")), ("200", "44"))

    def test_label_is_centred_inside_the_body(self):
        for name in ("uninstall-button.svg", "exit-button.svg"):
            with self.subTest(picture=name):
                _, root = load(name)
                label = root[1]
                self.assertEqual(local(label.tag), "path")
                self.assertEqual(label.get("fill"), "#FFFFFF")
                left, top, right, bottom = box(path_points(label.get("d")))
                self.assertAlmostEqual((left + right) / 2, 100, delta=1.5)
                self.assertAlmostEqual((top + bottom) / 2, 22, delta=2)
                self.assertGreater(left, 22)  # clear of the rounded ends
                self.assertLess(right, 178)


class TextOutlines(unittest.TestCase):
    def test_numbers_are_short_and_readable(self):
        cases = {0.5: ".5", -0.5: "-.5", 3.0: "3", -0.04: "0", 12.26: "12.3", 100.0: "100"}
        for value, text in cases.items():
            with self.subTest(value=value):
                written = textpath._number(value, 1)
                self.assertEqual(written, text)
                self.assertRegex(written, NUMBER_RE)

    def test_path_data_plays_back_to_the_rounded_glyph_points(self):
        contours, _ = textpath.layout("卸载 Corvane", "sans-bold", 28, 327, 228, "middle")
        expected = []
        for contour in contours:
            for _, points in contour:
                expected += [(round(x, 1), round(y, 1)) for x, y in points]
        for decimals in (1, 2):
            with self.subTest(decimals=decimals):
                played = path_points(textpath.path_data(contours, decimals))
                got = {(round(x, 1), round(y, 1)) for x, y in played}
                # Every end point of the outline comes back within the rounding step.
                ends = [(round(x, 1), round(y, 1)) for c in contours for _, pts in c for x, y in pts[-1:]]
                missing = [p for p in ends if not any(
                    abs(p[0] - q[0]) <= 0.11 and abs(p[1] - q[1]) <= 0.11 for q in got)]
                self.assertEqual(missing, [])
                self.assertAlmostEqual(box(played)[0], box(expected)[0], delta=0.11)
                self.assertAlmostEqual(box(played)[2], box(expected)[2], delta=0.11)

    def test_anchor_and_size(self):
        _, width = textpath.layout("退出", "sans-bold", 20, 0, 0, "start")
        self.assertAlmostEqual(width, 40, delta=0.01)  # two full-width glyphs
        for anchor, centre in (("start", 50 + width / 2), ("middle", 50), ("end", 50 - width / 2)):
            with self.subTest(anchor=anchor):
                contours, _ = textpath.layout("退出", "sans-bold", 20, 50, 30, anchor)
                left, top, right, bottom = textpath.bounding_box(contours)
                self.assertAlmostEqual((left + right) / 2, centre, delta=1.0)
                self.assertLess(top, 30 - 14)  # glyphs rise above the baseline
                self.assertLessEqual(bottom, 30 + 20 * 0.12)

    def test_kerning_and_spacing_change_the_advance(self):
        _, kerned = textpath.layout("AV", "sans", 100)
        _, plain = textpath.layout("AV", "sans", 100, kerning=False)
        _, spaced = textpath.layout("AV", "sans", 100, spacing=10, kerning=False)
        self.assertLess(kerned, plain)
        self.assertAlmostEqual(spaced, plain + 10, delta=0.01)

    def test_missing_glyph_is_an_error(self):
        with self.assertRaises(SystemExit):
            textpath.layout("\U0001F600", "sans", 10)


class Regeneration(unittest.TestCase):
    def test_committed_pictures_are_the_build_output(self):
        """The pictures are exactly what the templates make: nobody edited a
        generated file by hand, and the build is repeatable."""
        with tempfile.TemporaryDirectory() as out:
            subprocess.run(["/usr/bin/python3", "-B", os.path.join(ARTWORK, "build.py"),
                            "--svg-only", "--out", out], check=True, timeout=240,
                           stdout=subprocess.DEVNULL)
            for name in PICTURES:
                with self.subTest(picture=name):
                    with open(os.path.join(out, name), "rb") as a, \
                            open(os.path.join(RESOURCES, name), "rb") as b:
                        self.assertEqual(a.read(), b.read())


class Icon(unittest.TestCase):
    def read_entries(self):
        with open(os.path.join(RESOURCES, "icon.ico"), "rb") as f:
            data = f.read()
        reserved, kind, count = struct.unpack_from("<HHH", data)
        self.assertEqual((reserved, kind), (0, 1))
        entries = []
        for i in range(count):
            w, h, colours, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
            self.assertEqual((colours, planes, bits), (0, 1, 32))
            self.assertLessEqual(offset + size, len(data))
            entries.append((w or 256, h or 256, data[offset:offset + size]))
        return entries

    def pixels(self, edge, image):
        """Rows of RGBA tuples, top row first, for a PNG or a bitmap entry."""
        if image[:8] == b"\x89PNG\r\n\x1a\n":
            width, height, rows = icon.read_png_rgba(image)
            self.assertEqual((width, height), (edge, edge))
            return [[tuple(r[4 * x:4 * x + 4]) for x in range(width)] for r in rows]
        size, width, height, planes, bits = struct.unpack_from("<IiiHH", image)
        self.assertEqual((size, width, height, planes, bits), (40, edge, 2 * edge, 1, 32))
        mask_stride = ((edge + 31) // 32) * 4
        self.assertEqual(len(image), 40 + 4 * edge * edge + mask_stride * edge)
        rows = []
        for y in range(edge):
            start = 40 + 4 * edge * (edge - 1 - y)  # bottom-up rows
            row = image[start:start + 4 * edge]
            rows.append([(row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]) for x in range(edge)])
        return rows

    def test_sizes_and_formats(self):
        entries = self.read_entries()
        self.assertEqual([w for w, _, _ in entries], [16, 24, 32, 48, 64, 128, 256])
        for w, h, image in entries:
            with self.subTest(size=w):
                self.assertEqual(w, h)
                self.assertEqual(image[:8] == b"\x89PNG\r\n\x1a\n", w > 48)

    def test_every_image_shows_the_mark(self):
        for edge, _, image in self.read_entries():
            with self.subTest(size=edge):
                rows = self.pixels(edge, image)
                self.assertEqual(rows[0][0][3], 0)  # transparent corner outside the tile
                r, g, b, a = rows[int(edge * 0.12)][edge // 2]  # above the ring
                self.assertEqual(a, 255)
                self.assertGreater(g, 120)  # the green tile ...
                self.assertLess(r, g)
                white = sum(1 for row in rows for p in row if p[3] == 255 and min(p[:3]) > 230)
                # ... with a white mark covering a fair part of it.
                self.assertGreater(white, edge * edge * 0.08)


if __name__ == "__main__":
    unittest.main()
