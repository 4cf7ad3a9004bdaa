#!/usr/bin/python3
"""Builds the seed corpus of every fuzz target into OUTPUT/<target>/ from the
repository's sample files and golden pictures, the real files in
../shared/testdata/real when that folder exists, and a few small hand-built
files (an eight-face info and mapping file for the fuzzers' small mesh, a
tiny MD2, a K-Link mapping and camera block). Files above MAX_BYTES (images: MAX_IMAGE_BYTES) are left out:
they would only slow the runs.
Usage: make_seeds.py OUTPUT
"""

import glob
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REAL = os.path.join(os.path.dirname(ROOT), "shared", "testdata", "real")
MAX_BYTES = 64 << 10
MAX_IMAGE_BYTES = 16 << 10  # scripts/fuzz.sh runs the image targets with this -max_len
SMALL_FACES = 8  # fuzz_support.h: kSmallFaceCount


def files(*patterns, limit=MAX_BYTES):
    found = []
    for pattern in patterns:
        found += glob.glob(pattern, recursive=True)
    return sorted(p for p in found if os.path.getsize(p) <= limit)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def mesh_pairs():
    """uint32 geometry length, geometry, animation (the mesh_pair target's input)."""
    for geometry in glob.glob(os.path.join(ROOT, "resources", "samples", "Sampler", "Models", "*_d.3d")) + \
            glob.glob(os.path.join(REAL, "unreal", "*_d.3d")):
        animation = geometry[:-5] + "_a.3d"
        if os.path.exists(animation):
            d, a = read(geometry), read(animation)
            if len(d) + len(a) <= MAX_BYTES:
                yield os.path.basename(geometry[:-5]), struct.pack("<I", len(d)) + d + a


def info_file(faces):
    fields = [b"fuzz", b"seed", b"today", b"comments", b"credits"]
    widths = [550, 550, 300, 4100, 2100]
    body = b"K3DF" + b"".join(f.ljust(w, b"\0") for f, w in zip(fields, widths))
    body += struct.pack("<h", faces)
    return body + b"".join(struct.pack("<6f", i * 64.0, 128.0, 4096.0, -512.0, 7.5, 2048.0) for i in range(faces))


def mapping_file(faces):
    body = b"UMAP" + struct.pack("<h", faces)
    for i in range(faces):
        body += struct.pack("<6f4B", i * 100.0, 50.0, 4096.0, 0.0, -300.0, 9000.0, 0, i % 3, 5, i % 4)
    return body


def tiny_md2():
    """A quad of two triangles, two frames, as the MD2 layout describes it."""
    st = [(0, 0), (64, 0), (64, 64), (0, 64)]
    tris = [(0, 1, 2, 0, 1, 2), (0, 2, 3, 0, 2, 3)]
    frames = [((1.0, 1.0, 1.0), (0.0, 0.0, 0.0), b"stand01", [(0, 0, 0), (9, 0, 0), (9, 9, 0), (0, 9, 4)]),
              ((0.5, 2.0, 1.0), (-4.0, 1.0, 0.0), b"stand02", [(1, 2, 3), (4, 5, 6), (7, 8, 9), (10, 11, 12)])]
    frame_size = 40 + 4 * 4
    ofs_st = 68
    ofs_tris = ofs_st + 4 * len(st)
    ofs_frames = ofs_tris + 12 * len(tris)
    ofs_end = ofs_frames + frame_size * len(frames)
    header = b"IDP2" + struct.pack("<16i", 8, 64, 64, frame_size, 0, 4, len(st), len(tris), 0, len(frames),
                                   ofs_end, ofs_st, ofs_tris, ofs_frames, ofs_end, ofs_end)
    body = b"".join(struct.pack("<2h", *c) for c in st) + b"".join(struct.pack("<6h", *t) for t in tris)
    for scale, origin, name, vertices in frames:
        body += struct.pack("<6f", *scale, *origin) + name.ljust(16, b"\0")
        body += b"".join(bytes(v) + b"\0" for v in vertices)
    return header + body


def klink_blocks():
    """The shared section's two blocks: size, protocol 1, kind, then the values."""
    mapping = struct.pack("<3i2i6f", 44, 1, 1, 256, 128, 0.0, 0.0, 255.5, 3.0, -12.0, 127.0)
    camera = struct.pack("<3i13f", 64, 1, 2, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0.0, -3.5, 20.0, 140.0)
    return [("mapping", mapping), ("camera", camera)]


def images(*extensions):
    patterns = []
    for ext in extensions:
        for folder in ("resources/**", "tests/**"):
            patterns.append(os.path.join(ROOT, folder, "*." + ext))
        patterns.append(os.path.join(REAL, "**", "*." + ext))
    chosen = []
    for path in files(*patterns, limit=MAX_IMAGE_BYTES):
        if path.lower().endswith(tuple("." + e for e in extensions)) and path not in chosen:
            chosen.append(path)
    return [(os.path.basename(p), read(p)) for p in chosen]


def main():
    out = sys.argv[1]
    seeds = {
        "mesh_pair": list(mesh_pairs()),
        "info_file": [("small", info_file(SMALL_FACES)), ("other_count", info_file(2))] +
                     [(os.path.basename(p), read(p)) for p in files(os.path.join(ROOT, "resources", "samples", "Sampler", "Models", "*_k.3d"))],
        "mapping_file": [("small", b"\x07" + mapping_file(SMALL_FACES))],
        "md2": [("tiny", tiny_md2())] + [(p.split(os.sep)[-2], read(p)) for p in files(os.path.join(REAL, "md2", "*", "*.md2"))],
        "pcx": images("pcx", "PCX"),
        "bmp": images("bmp"),
        "tga": images("tga"),
        "package_script": [(os.path.basename(p), read(p)) for p in
                           files(os.path.join(ROOT, "resources", "samples", "*", "Classes", "*.uc"),
                                 os.path.join(REAL, "modfolders", "*", "Classes", "*.uc"))],
        "klink_block": klink_blocks(),
    }
    for target, entries in seeds.items():
        folder = os.path.join(out, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in entries:
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
