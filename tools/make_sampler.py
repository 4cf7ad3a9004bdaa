#!/usr/bin/python3
"""Writes the bundled sample mesh "Sampler": a ring spinning around a
pulsing core, 24 frames, in the Unreal raw mesh pair plus MOK's info file,
together with its skins and a phong and an environment map.

The ring (texture channel 0) is split into six arcs, each with another
polygon type; the core (channel 1) is a sphere whose caps are fullbright.
Skins: Sampler_ring.pcx (channel 0, 8-bit PCX), Sampler_core.tga (channel 1,
24-bit TGA) and Sampler_ring_grid.bmp (another channel-0 skin, 24-bit BMP).
Maps: phongs/Sampler_phong.bmp (8-bit greyscale BMP) and
enviros/Sampler_sky.bmp (24-bit BMP), both 256 x 256.
The sample is an Unreal package of its own: the mesh and its skins in
Models/, and Classes/Sampler.uc with the #exec lines that import them and give
the skins their channels, so MOK opens the mesh with its skins on.
Usage: make_sampler.py [PACKAGE_FOLDER [MAPS_FOLDER]]
(defaults: resources/samples/Sampler and resources/maps; with only
PACKAGE_FOLDER given the maps go to PACKAGE_FOLDER/maps)
"""

import math
import os
import struct
import sys

FRAMES = 24
RING_SEGMENTS, RING_SIDES = 24, 10
RING_RADIUS, TUBE_RADIUS = 13.0, 3.5
CORE_SLICES, CORE_STACKS = 12, 8
CORE_RADIUS = 5.5
# One polygon type per arc of the ring: normal, two-sided, translucent,
# masked, fullbright, environment-mapped.
RING_TYPES = [0x00, 0x01, 0x02, 0x03, 0x10, 0x40]


class Mesh:
    def __init__(self):
        self.faces = []  # (v0, v1, v2, type, channel, ((u, v) x 3) in 0..1)
        self.vertex_count = 0

    def add_vertices(self, count):
        first = self.vertex_count
        self.vertex_count += count
        return first


def ring_index(first, segment, side):
    return first + (segment % RING_SEGMENTS) * RING_SIDES + side % RING_SIDES


def build_ring(mesh):
    first = mesh.add_vertices(RING_SEGMENTS * RING_SIDES)
    for s in range(RING_SEGMENTS):
        kind = RING_TYPES[s * len(RING_TYPES) // RING_SEGMENTS]
        for t in range(RING_SIDES):
            a, b = ring_index(first, s, t), ring_index(first, s + 1, t)
            c, d = ring_index(first, s + 1, t + 1), ring_index(first, s, t + 1)
            u0, u1 = s / RING_SEGMENTS, (s + 1) / RING_SEGMENTS
            v0, v1 = t / RING_SIDES, (t + 1) / RING_SIDES
            mesh.faces.append((a, b, c, kind, 0, ((u0, v0), (u1, v0), (u1, v1))))
            mesh.faces.append((a, c, d, kind, 0, ((u0, v0), (u1, v1), (u0, v1))))
    return first


def build_core(mesh):
    top = mesh.add_vertices(1)
    rings = mesh.add_vertices(CORE_SLICES * (CORE_STACKS - 1))
    bottom = mesh.add_vertices(1)

    def at(stack, slice_):
        return rings + (stack - 1) * CORE_SLICES + slice_ % CORE_SLICES

    for i in range(CORE_SLICES):
        u0, u1 = i / CORE_SLICES, (i + 1) / CORE_SLICES
        mesh.faces.append((top, at(1, i + 1), at(1, i), 0x11, 1, ((u0, 0.0), (u1, 1 / CORE_STACKS), (u0, 1 / CORE_STACKS))))
        for stack in range(1, CORE_STACKS - 1):
            v0, v1 = stack / CORE_STACKS, (stack + 1) / CORE_STACKS
            a, b, c, d = at(stack, i), at(stack, i + 1), at(stack + 1, i + 1), at(stack + 1, i)
            mesh.faces.append((a, b, c, 0x01, 1, ((u0, v0), (u1, v0), (u1, v1))))
            mesh.faces.append((a, c, d, 0x01, 1, ((u0, v0), (u1, v1), (u0, v1))))
        last = CORE_STACKS - 1
        mesh.faces.append((bottom, at(last, i), at(last, i + 1), 0x11, 1,
                           ((u0, 1.0), (u0, last / CORE_STACKS), (u1, last / CORE_STACKS))))
    return top, rings, bottom


def ring_positions(frame):
    phase = 2 * math.pi * frame / FRAMES
    spin = phase / RING_SEGMENTS * 4  # the ring turns by four segments per cycle
    tilt = 0.35 * math.sin(phase)
    out = []
    for s in range(RING_SEGMENTS):
        angle = 2 * math.pi * s / RING_SEGMENTS + spin
        swell = 1.0 + 0.3 * math.sin(3 * angle - 2 * phase)
        for t in range(RING_SIDES):
            around = 2 * math.pi * t / RING_SIDES
            radius = RING_RADIUS + TUBE_RADIUS * swell * math.cos(around)
            x, y = radius * math.cos(angle), radius * math.sin(angle)
            z = TUBE_RADIUS * swell * math.sin(around)
            # Tilt the ring about the x axis.
            out.append((x, y * math.cos(tilt) - z * math.sin(tilt), y * math.sin(tilt) + z * math.cos(tilt)))
    return out


def core_positions(frame):
    radius = CORE_RADIUS * (1.0 + 0.2 * math.sin(2 * math.pi * frame / FRAMES * 2))
    out = [(0.0, 0.0, radius)]
    for stack in range(1, CORE_STACKS):
        polar = math.pi * stack / CORE_STACKS
        for i in range(CORE_SLICES):
            azimuth = 2 * math.pi * i / CORE_SLICES
            out.append((radius * math.sin(polar) * math.cos(azimuth), radius * math.sin(polar) * math.sin(azimuth),
                        radius * math.cos(polar)))
    out.append((0.0, 0.0, -radius))
    return out


def field(scaled, bits):
    """A scaled coordinate as a two's-complement field, truncated and clamped."""
    limit = 1 << (bits - 1)
    value = max(-limit, min(limit - 1, int(scaled)))
    return value & ((1 << bits) - 1)


def pack(position):
    x, y, z = position
    return field(x * 8, 11) | field(-y * 8, 11) << 11 | field(z * 4, 10) << 22


def channel_units(fraction):
    return fraction * 4096.0


def coordinate_byte(fraction):
    return max(0, min(255, int(channel_units(fraction) / 16)))


def geometry_file(mesh):
    out = bytearray(struct.pack("<HH", len(mesh.faces), mesh.vertex_count) + bytes(44))
    for v0, v1, v2, kind, channel, uvs in mesh.faces:
        out += struct.pack("<HHHBB", v0, v1, v2, kind, 0)
        out += bytes(coordinate_byte(c) for uv in uvs for c in uv)
        out += struct.pack("<BB", channel, 0)
    return bytes(out)


def animation_file(mesh):
    out = bytearray(struct.pack("<HH", FRAMES, 4 * mesh.vertex_count))
    for frame in range(FRAMES):
        for x, y, z in ring_positions(frame) + core_positions(frame):
            # Turned a quarter about y so the ring faces the start camera.
            out += struct.pack("<I", pack((z, y, -x)))
    return bytes(out)


def text_field(text, width):
    data = text.encode("ascii")
    return data + bytes(width - len(data))


def info_file(mesh):
    out = bytearray(b"K3DF")
    out += text_field("MOK sample", 550)
    out += text_field("", 550)
    out += text_field("2026", 300)
    out += text_field("A ring spinning around a pulsing core: six polygon types on the ring "
                      "(channel 0), a two-sided core with fullbright caps (channel 1).", 4100)
    out += text_field("Made by tools/make_sampler.py", 2100)
    out += struct.pack("<h", len(mesh.faces))
    for face in mesh.faces:
        for u, v in face[5]:
            out += struct.pack("<ff", channel_units(u), channel_units(v))
    return bytes(out)


# ---- Images ----
# Pixels are lists of rows, top row first; true-colour pixels are (r, g, b).

ARC_COLOURS = [(200, 60, 50), (230, 160, 40), (70, 170, 80), (50, 140, 200), (150, 80, 190), (220, 220, 220)]


def ring_skin(size):
    """Channel 0: one colour band per arc of the ring (u runs around the
    ring), shaded across the tube (v), with dark seams between segments."""
    rows = []
    for y in range(size):
        # Sixteen shades per arc keep the skin within an 8-bit palette.
        across = 0.55 + round(7.5 + 7.5 * math.cos(2 * math.pi * (y + 0.5) / size)) * 0.03
        row = []
        for x in range(size):
            segment = x * RING_SEGMENTS // size
            r, g, b = ARC_COLOURS[segment * len(RING_TYPES) // RING_SEGMENTS]
            seam = (x * RING_SEGMENTS) % size < 2 or (y * RING_SIDES) % size < 2
            k = 0.35 if seam else across
            row.append((int(r * k), int(g * k), int(b * k)))
        rows.append(row)
    return rows


def core_skin(size):
    """Channel 1: latitude bands and longitude stripes of a glowing core."""
    rows = []
    for y in range(size):
        latitude = (y + 0.5) / size
        glow = math.sin(math.pi * latitude)
        row = []
        for x in range(size):
            stripe = (x * CORE_SLICES // size) % 2
            band = int(latitude * CORE_STACKS) % 2
            heat = 0.5 + 0.5 * glow * (0.8 if stripe ^ band else 1.0)
            row.append((int(255 * heat), int(200 * heat * glow), int(80 + 60 * (1 - glow))))
        rows.append(row)
    return rows


def grid_skin(size):
    """Another channel-0 skin: a two-tone checker with a fine grid."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if x % 16 == 0 or y % 16 == 0:
                row.append((30, 30, 30))
            elif (x // 32 + y // 32) % 2:
                row.append((240, 240, 200))
            else:
                row.append((60, 110, 170))
        rows.append(row)
    return rows


def phong_map(size):
    """8-bit intensities: the light of a normal whose view x and y are the
    map coordinates (centre = facing the light): ambient, diffuse and a
    small highlight."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            nx, ny = (x + 0.5) / (size / 2) - 1, (y + 0.5) / (size / 2) - 1
            d2 = nx * nx + ny * ny
            nz = math.sqrt(1 - d2) if d2 < 1 else 0.0
            light = 0.12 + 0.68 * nz + 0.2 * nz ** 24
            row.append(max(0, min(255, int(255 * light))))
        rows.append(row)
    return rows


def sky_map(size):
    """Environment: sky above the horizon, warm ground below, a sun."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            h = (y + 0.5) / size
            if h < 0.5:
                k = h / 0.5
                colour = (int(40 + 150 * k), int(90 + 130 * k), int(200 + 50 * k))
            else:
                k = (h - 0.5) / 0.5
                colour = (int(150 - 90 * k), int(110 - 70 * k), int(70 - 40 * k))
            sun = math.hypot(x - size * 0.7, y - size * 0.3)
            if sun < size * 0.06:
                colour = (255, 250, 220)
            row.append(colour)
        rows.append(row)
    return rows


def pcx_8bit(rows, palette):
    """ZSoft PCX, one 8-bit plane, run-length encoded, 256-colour palette."""
    height, width = len(rows), len(rows[0])
    line = width + (width & 1)
    header = struct.pack("<BBBBHHHHHH", 10, 5, 1, 8, 0, 0, width - 1, height - 1, 72, 72)
    header += bytes(48) + struct.pack("<BBHHHH", 0, 1, line, 1, 0, 0)
    header += bytes(128 - len(header))
    data = bytearray()
    for row in rows:
        values = list(row) + [0] * (line - width)
        i = 0
        while i < len(values):
            run = 1
            while i + run < len(values) and run < 63 and values[i + run] == values[i]:
                run += 1
            if run > 1 or values[i] >= 0xC0:
                data += bytes((0xC0 | run, values[i]))
            else:
                data.append(values[i])
            i += run
    return header + bytes(data) + b"\x0c" + bytes(c for colour in palette for c in colour)


def indexed(rows):
    """Rows of colours as palette indices and the palette (at most 256)."""
    palette, index = [], {}
    out = []
    for row in rows:
        line = []
        for colour in row:
            if colour not in index:
                index[colour] = len(palette)
                palette.append(colour)
            line.append(index[colour])
        out.append(line)
    assert len(palette) <= 256, "too many colours for an 8-bit image"
    return out, palette + [(0, 0, 0)] * (256 - len(palette))


def tga_24bit(rows):
    """Uncompressed true-colour TGA, top row first."""
    height, width = len(rows), len(rows[0])
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, width, height, 24, 0x20)
    return header + bytes(c for row in rows for r, g, b in row for c in (b, g, r))


def bmp(rows, bits, palette=None):
    """Uncompressed bottom-up BMP, 24-bit, or 8-bit with a palette."""
    height, width = len(rows), len(rows[0])
    stride = (width * bits // 8 + 3) // 4 * 4
    palette_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette) if palette else b""
    offset = 54 + len(palette_bytes)
    data = bytearray()
    for row in reversed(rows):
        line = bytes(row) if bits == 8 else bytes(c for r, g, b in row for c in (b, g, r))
        data += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    header += struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                          len(palette) if palette else 0, 0)
    return header + palette_bytes + bytes(data)


def image_files():
    """(folder key, file name, bytes) of every bundled image."""
    ring, ring_palette = indexed(ring_skin(256))
    grey = [(i, i, i) for i in range(256)]
    return [
        ("samples", "Sampler_ring.pcx", pcx_8bit(ring, ring_palette)),
        ("samples", "Sampler_core.tga", tga_24bit(core_skin(128))),
        ("samples", "Sampler_ring_grid.bmp", bmp(grid_skin(256), 24)),
        ("phongs", "Sampler_phong.bmp", bmp(phong_map(256), 8, grey)),
        ("enviros", "Sampler_sky.bmp", bmp(sky_map(256), 24)),
    ]


def class_file():
    """Classes/Sampler.uc: the import lines of the mesh and its two skins."""
    rule = "//" + "=" * 77
    return "\n".join([
        rule,
        "// Sampler: a ring spinning around a pulsing core, the MOK sample mesh.",
        rule,
        "class Sampler extends Decoration;",
        "",
        "#exec MESH IMPORT MESH=Sampler ANIVFILE=Models\\Sampler_a.3d DATAFILE=Models\\Sampler_d.3d X=0 Y=0 Z=0",
        "#exec MESH ORIGIN MESH=Sampler X=0 Y=0 Z=0",
        "#exec MESH SEQUENCE MESH=Sampler SEQ=All STARTFRAME=0 NUMFRAMES=%d" % FRAMES,
        "#exec MESHMAP NEW MESHMAP=Sampler MESH=Sampler",
        "#exec MESHMAP SCALE MESHMAP=Sampler X=0.1 Y=0.1 Z=0.2",
        "#exec TEXTURE IMPORT NAME=SamplerRing FILE=Models\\Sampler_ring.pcx GROUP=Skins",
        "#exec TEXTURE IMPORT NAME=SamplerCore FILE=Models\\Sampler_core.tga GROUP=Skins",
        "#exec MESHMAP SETTEXTURE MESHMAP=Sampler NUM=0 TEXTURE=SamplerRing",
        "#exec MESHMAP SETTEXTURE MESHMAP=Sampler NUM=1 TEXTURE=SamplerCore",
        "",
    ]).encode("ascii")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def main():
    resources = os.path.join(os.path.dirname(__file__), "..", "resources")
    package = sys.argv[1] if len(sys.argv) > 1 else os.path.join(resources, "samples", "Sampler")
    maps = sys.argv[2] if len(sys.argv) > 2 else (os.path.join(package, "maps") if len(sys.argv) > 1
                                                   else os.path.join(resources, "maps"))
    models = os.path.join(package, "Models")
    mesh = Mesh()
    build_ring(mesh)
    build_core(mesh)
    for suffix, data in (("_d.3d", geometry_file(mesh)), ("_a.3d", animation_file(mesh)), ("_k.3d", info_file(mesh))):
        write(os.path.join(models, "Sampler" + suffix), data)
    folders = {"samples": models, "phongs": os.path.join(maps, "phongs"), "enviros": os.path.join(maps, "enviros")}
    for key, name, data in image_files():
        write(os.path.join(folders[key], name), data)
    write(os.path.join(package, "Classes", "Sampler.uc"), class_file())


if __name__ == "__main__":
    main()
