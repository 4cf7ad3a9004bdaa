#!/usr/bin/python3
"""Writes the bundled sample mesh "Sampler": a ring spinning around a
pulsing core, 24 frames, in the Unreal raw mesh pair plus MOK's info file.

The ring (texture channel 0) is split into six arcs, each with another
polygon type; the core (channel 1) is a sphere whose caps are fullbright.
Usage: make_sampler.py [OUTPUT_FOLDER]   (default: resources/samples)
"""

import math
import os
import struct
import sys

FRAMES = 24
RING_SEGMENTS, RING_SIDES = 24, 10
RING_RADIUS, TUBE_RADIUS = 44.0, 11.0
CORE_SLICES, CORE_STACKS = 12, 8
CORE_RADIUS = 20.0
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
        for position in ring_positions(frame) + core_positions(frame):
            out += struct.pack("<I", pack(position))
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


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources", "samples")
    mesh = Mesh()
    build_ring(mesh)
    build_core(mesh)
    os.makedirs(folder, exist_ok=True)
    for suffix, data in (("_d.3d", geometry_file(mesh)), ("_a.3d", animation_file(mesh)), ("_k.3d", info_file(mesh))):
        with open(os.path.join(folder, "Sampler" + suffix), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
