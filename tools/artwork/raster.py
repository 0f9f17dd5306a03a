"""Rasterises SVG files to PNG with resvg (tools/resvg, run by the machine's
Node.js), or with rsvg-convert while resvg is not installed there."""

import os
import shutil
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
RESVG_MODULE = os.path.join(HERE, "..", "resvg", "node_modules", "@resvg", "resvg-js")


def renderer_name():
    if os.path.isdir(RESVG_MODULE) and shutil.which("node"):
        return "resvg"
    if shutil.which("rsvg-convert"):
        return "rsvg-convert"
    raise SystemExit("raster: neither resvg (npm ci in tools/resvg) nor rsvg-convert "
                     "(Debian librsvg2-bin) is available")


def render(jobs):
    """jobs: list of (svg path, png path, pixel width). Returns the renderer used."""
    name = renderer_name()
    if not jobs:
        return name
    if name == "resvg":
        command = ["node", os.path.join(HERE, "resvg-render.js")]
        for svg, png, width in jobs:
            command += [svg, png, str(width)]
        subprocess.run(command, check=True, timeout=120)
    else:
        for svg, png, width in jobs:
            subprocess.run(["rsvg-convert", "-w", str(width), "-o", png, svg],
                           check=True, timeout=60)
    return name
