"""PNG previews of the pictures at 100 % and 150 %, for the README."""

import os
import xml.etree.ElementTree as ET

import raster

# Pictures in the order the README shows them.
PICTURES = ["background", "logo", "minimize", "close", "uninstall-button", "exit-button", "icon"]


def picture_width(svg_path):
    """Width in picture units: the viewBox width of the root element."""
    root = ET.parse(svg_path).getroot()
    return float(root.get("viewBox").split()[2])


def render_previews(svg_dir, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    jobs = []
    for name in PICTURES:
        svg = os.path.join(svg_dir, name + ".svg")
        width = picture_width(svg)
        for percent in (100, 150):
            png = os.path.join(out_dir, "%s@%d.png" % (name, percent))
            jobs.append((svg, png, int(round(width * percent / 100))))
    raster.render(jobs)
    written = [png for _, png, _ in jobs]
    for percent in (100, 150):
        written.append(render_window_mock(out_dir, os.path.join(out_dir, "window@%d.png" % percent),
                                          percent))
        for name in ("uninstall-button", "exit-button"):
            written.append(render_button_states(os.path.join(svg_dir, name + ".svg"), out_dir,
                                                name, percent))
    return written


# The colours the button puts in place of the body's fill, per state.
STATE_COLOURS = [("normal", None), ("hover", "#19CC6E"), ("pushed", "#00B255"),
                 ("disabled", "#CCCCCC")]


def recolour(svg_text, colour):
    """The button's own rule: the first fill="#...... gets the state colour."""
    at = svg_text.find('fill="#')
    if colour is None or at < 0:
        return svg_text
    return svg_text[:at + 6] + colour + svg_text[at + 13:]


def render_button_states(svg_path, out_dir, name, percent):
    """One strip with the normal, hover, pushed and disabled looks of a button."""
    import subprocess
    import tempfile
    with open(svg_path, encoding="utf-8") as f:
        text = f.read()
    width = int(round(picture_width(svg_path) * percent / 100))
    with tempfile.TemporaryDirectory() as tmp:
        jobs = []
        for state, colour in STATE_COLOURS:
            svg = os.path.join(tmp, state + ".svg")
            with open(svg, "w", encoding="utf-8") as f:
                f.write(recolour(text, colour))
            jobs.append((svg, os.path.join(tmp, state + ".png"), width))
        raster.render(jobs)
        out_png = os.path.join(out_dir, "%s-states@%d.png" % (name, percent))
        gap = str(int(round(8 * percent / 100)))
        subprocess.run(["convert", "-background", "none"] +
                       [png for _, png, _ in jobs] + ["-splice", gap + "x0", "+append",
                                                      "-chop", gap + "x0"] + PNG_WITHOUT_DATES + [out_png],
                       check=True, timeout=60)
    return out_png


# ImageMagick stamps PNGs with the time; without it a rebuild changes nothing.
PNG_WITHOUT_DATES = ["-define", "png:exclude-chunks=date,time"]

# Where the main window places each picture on its 700 x 400 card, and which
# 24-unit cell of a sprite shows (normal unless asked otherwise).
WINDOW_LAYOUT = [
    ("logo", 18, 15),
    ("minimize", 632, 12),
    ("close", 664, 12),
    ("uninstall-button", 227, 316),
]


def render_window_mock(preview_dir, out_png, percent, cells=None):
    """Puts the previews together as the main window shows them (a check of
    the layout; the real window is drawn by the program)."""
    import shutil
    import subprocess
    cells = cells or {}
    scale = percent / 100.0
    command = ["convert", os.path.join(preview_dir, "background@%d.png" % percent)]
    for name, x, y in WINDOW_LAYOUT:
        png = os.path.join(preview_dir, "%s@%d.png" % (name, percent))
        command.append("(")
        command.append(png)
        if name in ("minimize", "close"):
            cell = int(round(24 * scale))
            command += ["-crop", "%dx%d+%d+0" % (cell, cell, cells.get(name, 0) * cell), "+repage"]
        command += [")", "-geometry", "+%d+%d" % (round(x * scale), round(y * scale)), "-composite"]
    command += PNG_WITHOUT_DATES + [out_png]
    if not shutil.which("convert"):
        raise SystemExit("preview: ImageMagick's convert is needed for the window mock")
    subprocess.run(command, check=True, timeout=60)
    return out_png
