#!/usr/bin/python3
"""Writes MOK's program icon: resources/icons/mok.svg and PNG versions for
the hicolor theme, all from the one drawing below. The drawing is a small
four-triangle mesh, textured in warm colours, lying on a checkered skin.

The PNGs are drawn with Pillow at four times their size and scaled down, so
edges are smooth. The theme's 2x folders (NxN@2, for screens with a device
pixel ratio of 2) take the PNG of twice the size; the install rule pairs them.
Usage: make_icons.py [OUTPUT_FOLDER]   (default: resources/icons)
"""

import os
import sys

from PIL import Image, ImageDraw

CANVAS = 256  # the drawing's own units; the SVG's view box
SIZES = [16, 22, 24, 32, 48, 64, 96, 128, 256]
SUPERSAMPLE = 4

BACKGROUND = (16, 16, 240, 240)
CORNER_RADIUS = 44
CHECKER_CELL = 32
CHECKER_COLOURS = ("#2b3b57", "#34486a")
OUTLINE = "#1b2438"

CENTRE = (128, 132)
RIM = [(128, 38), (222, 122), (140, 222), (40, 140)]
FACE_COLOURS = ["#f2b134", "#e8873a", "#d9643a", "#f0a04b"]
EDGE_COLOUR = "#fdf6e3"
EDGE_WIDTH = 9
VERTEX_COLOUR = "#fff3b0"
VERTEX_RADIUS = 12


def faces():
    """The four triangles: centre and two neighbouring rim points each."""
    return [(CENTRE, RIM[i], RIM[(i + 1) % 4]) for i in range(4)]


def edges():
    spokes = [(CENTRE, point) for point in RIM]
    rim = [(RIM[i], RIM[(i + 1) % 4]) for i in range(4)]
    return rim + spokes


def checker_cells():
    """Dark and light cells covering the background square."""
    cells = []
    left, top, right, bottom = BACKGROUND
    for row, y in enumerate(range(top, bottom, CHECKER_CELL)):
        for column, x in enumerate(range(left, right, CHECKER_CELL)):
            box = (x, y, min(x + CHECKER_CELL, right), min(y + CHECKER_CELL, bottom))
            cells.append((box, CHECKER_COLOURS[(row + column) % 2]))
    return cells


def svg_text():
    left, top, right, bottom = BACKGROUND
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{CANVAS}" height="{CANVAS}" '
        f'viewBox="0 0 {CANVAS} {CANVAS}">',
        '  <title>MOK</title>',
        '  <defs>',
        '    <clipPath id="tile">',
        f'      <rect x="{left}" y="{top}" width="{right - left}" height="{bottom - top}" '
        f'rx="{CORNER_RADIUS}"/>',
        '    </clipPath>',
        '  </defs>',
        '  <g clip-path="url(#tile)">',
    ]
    for (x0, y0, x1, y1), colour in checker_cells():
        lines.append(f'    <rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" fill="{colour}"/>')
    lines.append('  </g>')
    lines.append(f'  <rect x="{left + 2}" y="{top + 2}" width="{right - left - 4}" height="{bottom - top - 4}" '
                 f'rx="{CORNER_RADIUS - 2}" fill="none" stroke="{OUTLINE}" stroke-width="4"/>')
    for triangle, colour in zip(faces(), FACE_COLOURS):
        points = " ".join(f"{x},{y}" for x, y in triangle)
        lines.append(f'  <polygon points="{points}" fill="{colour}"/>')
    for (x0, y0), (x1, y1) in edges():
        lines.append(f'  <line x1="{x0}" y1="{y0}" x2="{x1}" y2="{y1}" stroke="{EDGE_COLOUR}" '
                     f'stroke-width="{EDGE_WIDTH}" stroke-linecap="round"/>')
    for x, y in [CENTRE] + RIM:
        lines.append(f'  <circle cx="{x}" cy="{y}" r="{VERTEX_RADIUS}" fill="{VERTEX_COLOUR}" '
                     f'stroke="{OUTLINE}" stroke-width="3"/>')
    lines.append('</svg>')
    return "\n".join(lines) + "\n"


def draw_png(pixels):
    scale = pixels * SUPERSAMPLE / CANVAS

    def at(point):
        return (point[0] * scale, point[1] * scale)

    def box(rect):
        return (rect[0] * scale, rect[1] * scale, rect[2] * scale - 1, rect[3] * scale - 1)

    big = pixels * SUPERSAMPLE
    tile = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    draw = ImageDraw.Draw(tile)
    for rect, colour in checker_cells():
        draw.rectangle(box(rect), fill=colour)
    mask = Image.new("L", (big, big), 0)
    ImageDraw.Draw(mask).rounded_rectangle(box(BACKGROUND), radius=CORNER_RADIUS * scale, fill=255)
    image = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    image.paste(tile, (0, 0), mask)

    draw = ImageDraw.Draw(image)
    inset = (BACKGROUND[0] + 2, BACKGROUND[1] + 2, BACKGROUND[2] - 2, BACKGROUND[3] - 2)
    draw.rounded_rectangle(box(inset), radius=(CORNER_RADIUS - 2) * scale, outline=OUTLINE,
                           width=max(1, round(4 * scale)))
    for triangle, colour in zip(faces(), FACE_COLOURS):
        draw.polygon([at(p) for p in triangle], fill=colour)
    width = max(1, round(EDGE_WIDTH * scale))
    for start, end in edges():
        draw.line([at(start), at(end)], fill=EDGE_COLOUR, width=width)
        for x, y in (at(start), at(end)):  # round line caps
            draw.ellipse((x - width / 2, y - width / 2, x + width / 2, y + width / 2), fill=EDGE_COLOUR)
    radius = VERTEX_RADIUS * scale
    for point in [CENTRE] + RIM:
        x, y = at(point)
        draw.ellipse((x - radius, y - radius, x + radius, y + radius), fill=VERTEX_COLOUR, outline=OUTLINE,
                     width=max(1, round(3 * scale)))
    return image.resize((pixels, pixels), Image.LANCZOS)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources", "icons")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "mok.svg"), "w", encoding="utf-8") as out:
        out.write(svg_text())
    for size in SIZES:
        draw_png(size).save(os.path.join(folder, f"mok-{size}.png"), optimize=True)


if __name__ == "__main__":
    main()
