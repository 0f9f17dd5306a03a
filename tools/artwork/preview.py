"""PNG previews of the pictures at 100 % and 150 %, for the README: each
picture alone, the buttons in their four states, and a mock of the main
window put together from the previews."""

import os
import shutil
import subprocess
import tempfile
import xml.etree.ElementTree as ET

import raster

# Pictures in the order the README shows them.
PICTURES = ["background", "logo", "minimize", "close", "uninstall-button", "exit-button", "icon"]
PERCENTS = (100, 150)

# The colours the button puts in place of the body's fill, per state.
STATE_COLOURS = [("normal", None), ("hover", "#19CC6E"), ("pushed", "#00B255"),
                 ("disabled", "#CCCCCC")]

# Where the main window places each picture on its 700 x 400 card.
WINDOW_LAYOUT = [
    ("logo", 18, 15),
    ("minimize", 632, 12),
    ("close", 664, 12),
    ("uninstall-button", 227, 316),
]
SPRITES = ("minimize", "close")
# Pictures drawn over the card: their previews are also given on its colour,
# so a light page does not swallow white glyphs.
ON_CARD = ("logo", "minimize", "close")
CARD_COLOUR = "#313434"

# ImageMagick stamps PNGs with the time; without it a rebuild changes nothing.
PNG_WITHOUT_DATES = ["-define", "png:exclude-chunks=date,time"]


def picture_width(svg_path):
    """Width in picture units: the viewBox width of the root element."""
    root = ET.parse(svg_path).getroot()
    return float(root.get("viewBox").split()[2])


def recolour(svg_text, colour):
    """The button's own rule: the first fill="#...... gets the state colour."""
    at = svg_text.find('fill="#')
    if colour is None or at < 0:
        return svg_text
    return svg_text[:at + 6] + colour + svg_text[at + 13:]


def convert(arguments):
    if not shutil.which("convert"):
        raise SystemExit("preview: ImageMagick's convert is needed (Debian imagemagick)")
    subprocess.run(["convert"] + arguments, check=True, timeout=60)


def render_button_states(svg_path, out_dir, name, percent):
    """One strip with the normal, hover, pushed and disabled looks of a button."""
    with open(svg_path, encoding="utf-8") as f:
        text = f.read()
    width = int(round(picture_width(svg_path) * percent / 100))
    out_png = os.path.join(out_dir, "%s-states@%d.png" % (name, percent))
    with tempfile.TemporaryDirectory() as tmp:
        jobs = []
        for state, colour in STATE_COLOURS:
            svg = os.path.join(tmp, state + ".svg")
            with open(svg, "w", encoding="utf-8") as f:
                f.write(recolour(text, colour))
            jobs.append((svg, os.path.join(tmp, state + ".png"), width))
        raster.render(jobs)
        gap = "%dx0" % round(8 * percent / 100)
        convert(["-background", "none"] + [png for _, png, _ in jobs] +
                ["-splice", gap, "+append", "-chop", gap] + PNG_WITHOUT_DATES + [out_png])
    return out_png


def render_window_mock(preview_dir, out_png, percent):
    """Puts the previews together as the main window shows them (a check of
    the layout; the real window is drawn by the program)."""
    scale = percent / 100.0
    command = [os.path.join(preview_dir, "background@%d.png" % percent)]
    for name, x, y in WINDOW_LAYOUT:
        command += ["(", os.path.join(preview_dir, "%s@%d.png" % (name, percent))]
        if name in SPRITES:  # the normal cell
            cell = int(round(24 * scale))
            command += ["-crop", "%dx%d+0+0" % (cell, cell), "+repage"]
        command += [")", "-geometry", "+%d+%d" % (round(x * scale), round(y * scale)),
                    "-composite"]
    convert(command + PNG_WITHOUT_DATES + [out_png])
    return out_png


def render_previews(svg_dir, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    jobs = []
    for name in PICTURES:
        svg = os.path.join(svg_dir, name + ".svg")
        width = picture_width(svg)
        for percent in PERCENTS:
            png = os.path.join(out_dir, "%s@%d.png" % (name, percent))
            jobs.append((svg, png, int(round(width * percent / 100))))
    raster.render(jobs)
    written = [png for _, png, _ in jobs]
    for name in ON_CARD:
        for percent in PERCENTS:
            png = os.path.join(out_dir, "%s@%d.png" % (name, percent))
            on_card = os.path.join(out_dir, "%s-on-card@%d.png" % (name, percent))
            convert([png, "-background", CARD_COLOUR, "-alpha", "remove", "-alpha", "off"] +
                    PNG_WITHOUT_DATES + [on_card])
            written.append(on_card)
    for percent in PERCENTS:
        window = os.path.join(out_dir, "window@%d.png" % percent)
        written.append(render_window_mock(out_dir, window, percent))
        for name in ("uninstall-button", "exit-button"):
            svg = os.path.join(svg_dir, name + ".svg")
            written.append(render_button_states(svg, out_dir, name, percent))
    return written
