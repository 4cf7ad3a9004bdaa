"""Test images made and decoded by Pillow, the reference the codec tests
compare against.

  pillow_images.py generate DIR      writes every test image into DIR, then
                                     dumps Pillow's decoding of each
  pillow_images.py dump DIR FILE...  dumps Pillow's decoding of the files

A dump is named after the file: its name in the generated folder, or its
whole path with every '/' turned into '_' for dump. NAME.rgba is: u32 width, u32 height, then width*height RGBA
bytes, top row first; NAME.idx holds the raw palette indices when the file
has them; NAME.err holds Pillow's error when it cannot read the file.

Where Pillow's decoding differs from what a skin editor must show by design,
the dump states the intended result instead, each case explained below.
"""

import io
import os
import random
import struct
import sys

from PIL import Image

random.seed(20240607)


def random_rgb(width, height, mode="RGB"):
    channels = len(mode)
    data = bytes(random.randrange(256) for _ in range(width * height * channels))
    return Image.frombytes(mode, (width, height), data)


def random_paletted(width, height, colours):
    image = Image.new("P", (width, height))
    image.putpalette([random.randrange(256) for _ in range(colours * 3)])
    image.putdata([random.randrange(colours) for _ in range(width * height)])
    return image


def save(image, path, fmt, **options):
    image.save(path, fmt, **options)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


# BMP files Pillow does not write: built field by field.

def bmp_file(info_header, palette, rows, extra_after_header=b""):
    offset = 14 + len(info_header) + len(extra_after_header) + len(palette)
    data = b"".join(rows)
    head = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    return head + info_header + extra_after_header + palette + data


def info_header(size, width, height, bits, compression=0, colours=0, masks=None):
    fields = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, 0, 2835, 2835,
                         colours, 0)
    if size > 40:
        fields += struct.pack("<IIII", *(masks or (0, 0, 0, 0)))
        fields += bytes(size - len(fields))
    return fields


def padded(row):
    return row + bytes(-len(row) % 4)


def bmp_rows_8(indices, width, height, top_down=False):
    rows = [padded(bytes(indices[y * width:(y + 1) * width])) for y in range(height)]
    return rows if top_down else rows[::-1]


def bgr_rows(image, bytes_per_texel, top_down=False):
    width, height = image.size
    pixels = image.convert("RGBA").load()
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            r, g, b, a = pixels[x, y]
            row += bytes((b, g, r, a)[:bytes_per_texel])
        rows.append(padded(bytes(row)))
    return rows if top_down else rows[::-1]


def rle8_rows(indices, width, height):
    """Bottom-up RLE8 with runs, literals and an end of line per row. (No
    delta moves: Pillow 9.4 misreads them, so tests build those by hand.)"""
    out = bytearray()
    for file_row in range(height):
        y = height - 1 - file_row
        row = indices[y * width:(y + 1) * width]
        x = 0
        while x < width:
            run = 1
            while x + run < width and row[x + run] == row[x] and run < 255:
                run += 1
            if run >= 2 or width - x < 3:
                out += bytes((run, row[x]))
                x += run
            else:
                count = min(width - x, 5)
                out += bytes((0, count)) + bytes(row[x:x + count]) + bytes(count & 1)
                x += count
        out += bytes((0, 0))
    out += bytes((0, 1))
    return out


def bmp_palette(colours):
    return b"".join(bytes((random.randrange(256), random.randrange(256), random.randrange(256), 0))
                    for _ in range(colours))


def generate_bmps(folder):
    save(random_paletted(37, 19, 256), os.path.join(folder, "bmp8_256.bmp"), "BMP")
    save(random_paletted(6, 5, 16), os.path.join(folder, "bmp8_16.bmp"), "BMP")
    save(random_rgb(37, 19), os.path.join(folder, "bmp24_padded.bmp"), "BMP")
    save(random_rgb(4, 7), os.path.join(folder, "bmp24_unpadded.bmp"), "BMP")
    save(random_rgb(13, 9, "RGBA"), os.path.join(folder, "bmp32_rgb.bmp"), "BMP")
    save(Image.new("1", (9, 9)), os.path.join(folder, "bmp1.bmp"), "BMP")

    image = random_rgb(11, 6, "RGBA")
    masks = (0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    write(os.path.join(folder, "bmp32_bitfields_v5.bmp"),
          bmp_file(info_header(124, 11, 6, 32, 3, masks=masks), b"", bgr_rows(image, 4)))
    write(os.path.join(folder, "bmp32_bitfields_40.bmp"),
          bmp_file(info_header(40, 11, 6, 32, 3), b"", bgr_rows(image, 4),
                   struct.pack("<III", *masks[:3])))
    write(os.path.join(folder, "bmp32_bitfields_565.bmp"),
          bmp_file(info_header(40, 11, 6, 32, 3), b"", bgr_rows(image, 4),
                   struct.pack("<III", 0xF800, 0x07E0, 0x001F)))

    image = random_rgb(7, 5)
    write(os.path.join(folder, "bmp24_topdown.bmp"),
          bmp_file(info_header(40, 7, -5, 24), b"", bgr_rows(image, 3, top_down=True)))
    write(os.path.join(folder, "bmp24_v3.bmp"), bmp_file(info_header(56, 7, 5, 24), b"", bgr_rows(image, 3)))
    write(os.path.join(folder, "bmp24_v4.bmp"), bmp_file(info_header(108, 7, 5, 24), b"", bgr_rows(image, 3)))
    write(os.path.join(folder, "bmp16.bmp"), bmp_file(info_header(40, 4, 4, 16), b"", [bytes(8)] * 4))
    os2 = struct.pack("<IHHHH", 12, 4, 4, 1, 24)
    write(os.path.join(folder, "bmp_os2.bmp"), bmp_file(os2, b"", [bytes(12)] * 4))

    indices = [random.randrange(40) for _ in range(9 * 7)]
    write(os.path.join(folder, "bmp8_topdown.bmp"),
          bmp_file(info_header(40, 9, -7, 8, colours=40), bmp_palette(40), bmp_rows_8(indices, 9, 7, True)))
    indices = [random.choice((3, 3, 3, 7, 9, 200)) for _ in range(13 * 6)]
    write(os.path.join(folder, "bmp8_rle8.bmp"),
          bmp_file(info_header(40, 13, 6, 8, 1, colours=256), bmp_palette(256), [rle8_rows(indices, 13, 6)]))


def tga_16bit(width, height, top_first):
    words = [0x7FFF, 0x8000, 0x001F, 0x03E0, 0x7C00] + [random.randrange(65536) for _ in range(width * height - 5)]
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, width, height, 16, 0x20 if top_first else 0)
    return header + struct.pack("<%dH" % len(words), *words)


def generate_tgas(folder):
    rgb, rgba = random_rgb(19, 11), random_rgb(19, 11, "RGBA")
    for origin, orientation in (("bl", -1), ("tl", 1)):
        save(rgb, os.path.join(folder, "tga24_%s.tga" % origin), "TGA", orientation=orientation)
        save(rgba, os.path.join(folder, "tga32_%s.tga" % origin), "TGA", orientation=orientation)
        save(rgb, os.path.join(folder, "tga24_rle_%s.tga" % origin), "TGA", orientation=orientation,
             compression="tga_rle")
        save(rgba, os.path.join(folder, "tga32_rle_%s.tga" % origin), "TGA", orientation=orientation,
             compression="tga_rle")
    write(os.path.join(folder, "tga16_bl.tga"), tga_16bit(9, 4, False))
    write(os.path.join(folder, "tga16_tl.tga"), tga_16bit(9, 4, True))
    # Flat colour areas give long runs in the RLE files.
    flat = Image.new("RGB", (40, 6), (10, 200, 30))
    flat.paste((250, 0, 0), (5, 1, 33, 4))
    save(flat, os.path.join(folder, "tga24_rle_runs.tga"), "TGA", compression="tga_rle")
    with open(os.path.join(folder, "tga24_bl.tga"), "rb") as f:
        data = bytearray(f.read())
    data[17] |= 0x10  # the same rows, stored right to left
    write(os.path.join(folder, "tga24_right_to_left.tga"), bytes(data))
    save(random_paletted(8, 8, 16), os.path.join(folder, "tga_colour_mapped.tga"), "TGA")
    save(Image.new("L", (8, 8), 77), os.path.join(folder, "tga_grey.tga"), "TGA")


def generate_pcxs(folder):
    save(random_paletted(37, 23, 256), os.path.join(folder, "pcx8_odd.pcx"), "PCX")
    save(random_paletted(64, 48, 256), os.path.join(folder, "pcx8_even.pcx"), "PCX")
    save(random_paletted(1, 1, 256), os.path.join(folder, "pcx8_1x1.pcx"), "PCX")
    save(random_rgb(21, 13), os.path.join(folder, "pcx24_odd.pcx"), "PCX")
    save(Image.new("1", (16, 4)), os.path.join(folder, "pcx1.pcx"), "PCX")
    # Long runs of one index cross line ends.
    runs = Image.new("P", (50, 20), 3)
    runs.putpalette([random.randrange(256) for _ in range(768)])
    runs.paste(200, (10, 5, 50, 12))
    save(runs, os.path.join(folder, "pcx8_runs.pcx"), "PCX")


# Dumps

def tga_depth(data):
    return data[16] if len(data) > 17 and data[:2] != b"BM" and data[0] != 10 else 0


def rescale_16bit(image):
    # Pillow widens 5-bit colour to 0..255 (v * 255 / 31); the editor shifts
    # it left by 3 (31 becomes 248). The mapping is one to one, so the dump
    # carries the 5-bit value shifted by 3.
    return bytes(((round(v * 31 / 255)) << 3) for v in image.tobytes())


def quake_palette(data, image):
    # Pillow shows a PCX whose palette lacks the 0x0C marker as greyscale;
    # those files (Quake 2 skins) do have a palette: the last 768 bytes.
    palette = data[-768:]
    return b"".join(palette[i * 3:i * 3 + 3] + b"\xff" for i in image.tobytes())


def flat_rle_tga(data):
    # Pillow refuses run-length packets that run over a row end; TGA readers
    # in the field take the texels as one stream. A direct decoding of that.
    width, height = struct.unpack("<HH", data[12:16])
    depth, descriptor = data[16], data[17]
    step = depth // 8
    pos, texels = 18 + data[0], []
    while len(texels) < width * height:
        header = data[pos]
        pos += 1
        if header & 0x80:
            texels += [data[pos:pos + step]] * (header - 127)
            pos += step
        else:
            for _ in range(header + 1):
                texels.append(data[pos:pos + step])
                pos += step
    texels = texels[:width * height]
    rows = [texels[y * width:(y + 1) * width] for y in range(height)]
    if not descriptor & 0x20:
        rows.reverse()
    out = bytearray()
    for row in rows:
        for t in row:
            out += bytes((t[2], t[1], t[0], t[3] if step == 4 else 255))
    return width, height, bytes(out)


def decode(path):
    with open(path, "rb") as f:
        data = f.read()
    try:
        image = Image.open(io.BytesIO(data))
        image.load()
    except Exception as error:
        if data[:2] == b"BM" and struct.unpack("<H", data[28:30])[0] == 8:
            # An 8-bit BMP that claims BI_BITFIELDS: masks mean nothing for
            # palette indices, and the data has the plain size. Decode it
            # as the plain 8-bit BMP it is.
            patched = data[:30] + bytes(4) + data[34:]
            image = Image.open(io.BytesIO(patched))
            image.load()
        elif len(data) > 18 and data[2] == 10:
            return flat_rle_tga(data), None
        else:
            return None, str(error)
    width, height = image.size
    indices = image.tobytes() if image.mode in ("P", "L") else None
    if image.mode == "L" and data[0] == 10:
        rgba = quake_palette(data, image)
    elif tga_depth(data) in (15, 16):
        rgba = rescale_16bit(image.convert("RGBA"))
    else:
        rgba = image.convert("RGBA").tobytes()
    return (width, height, rgba), indices


def dump(folder, path, name):
    name = os.path.join(folder, name)
    decoded, extra = decode(path)
    if decoded is None:
        write(name + ".err", extra.encode())
        return
    width, height, rgba = decoded
    write(name + ".rgba", struct.pack("<II", width, height) + rgba)
    if extra is not None:
        write(name + ".idx", extra)


def main():
    command, folder = sys.argv[1], sys.argv[2]
    if command == "generate":
        generate_bmps(folder)
        generate_tgas(folder)
        generate_pcxs(folder)
        for name in sorted(os.listdir(folder)):
            dump(folder, os.path.join(folder, name), name)
    else:
        for path in sys.argv[3:]:
            dump(folder, path, path.replace("/", "_"))


if __name__ == "__main__":
    main()
