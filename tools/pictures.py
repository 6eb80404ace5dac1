#!/usr/bin/env python3
"""Turn the text picture sources in pictures/ into Windows .ico and .bmp files.

Picture source format (*.pic)
-----------------------------
A source holds one or more images. Each image starts with a line

    size WIDTHxHEIGHT

followed by HEIGHT rows of exactly WIDTH characters, one character per pixel.
Lines starting with '#' are comments; blank lines are ignored.

Pixel characters: the 16 standard Windows colours, lower case for the dim
half of the palette and upper case for the bright half, plus '.':

    k black     0,0,0         K grey      128,128,128
    r maroon    128,0,0       R red       255,0,0
    g green     0,128,0       G lime      0,255,0
    y olive     128,128,0     Y yellow    255,255,0
    b navy      0,0,128       B blue      0,0,255
    m purple    128,0,128     M fuchsia   255,0,255
    c teal      0,128,128     C aqua      0,255,255
    w silver    192,192,192   W white     255,255,255
    . transparent

Commands
--------
    pictures.py ico  OUT.ico SOURCE
        An icon with every image of SOURCE (16 colours, AND mask from the
        transparent pixels).
    pictures.py bmp  OUT.bmp SOURCE...
        A 16-colour bitmap of the sources' images side by side, left to right
        (each source holds exactly one image; all of the same height).
        Transparent pixels become silver, which LoadImage with
        LR_LOADMAP3DCOLORS turns into the dialog's face colour; so silver and
        grey, which it maps too, may not appear inside the picture.
    pictures.py mask OUT.bmp SOURCE...
        The matching monochrome mask: white where transparent, black elsewhere.
    pictures.py --check
        Self-check of the writer and the parser.

Outputs are written whole or not at all: bad input gives a message naming the
file and line, and leaves any earlier output untouched.
"""

import os
import struct
import sys

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
LETTERS = "krgybmcwKRGYBMCW"  # palette index = position
TRANSPARENT = "."
SILVER, GREY = 7, 8


class PictureError(Exception):
    pass


class Image:
    """Rows of palette indices, top row first; None is transparent.

    where (source name and line of its 'size' line) and lines (the source
    line of each row) are for messages."""

    def __init__(self, rows, where="picture", lines=None):
        self.rows = rows
        self.where = where
        self.name = where.split(":")[0]
        self.lines = lines or [0] * len(rows)
        self.height = len(rows)
        self.width = len(rows[0]) if rows else 0


def parse(text, name="picture"):
    """The images of a picture source."""
    images = []
    rows = lines = None
    width = height = start = 0

    def finish():
        if len(rows) != height:
            raise PictureError(f"{name}:{start}: image has {len(rows)} rows, expected {height}")
        images.append(Image(rows, f"{name}:{start}", lines))

    for number, line in enumerate(text.splitlines(), 1):
        line = line.rstrip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("size"):
            if rows is not None:
                finish()
            try:
                width, height = (int(n) for n in line[4:].strip().split("x"))
            except ValueError:
                raise PictureError(f"{name}:{number}: expected 'size WIDTHxHEIGHT', got '{line}'")
            if not (0 < width <= 256 and 0 < height <= 256):
                raise PictureError(f"{name}:{number}: size must be 1 to 256 pixels each way")
            rows, lines, start = [], [], number
            continue
        if rows is None:
            raise PictureError(f"{name}:{number}: pixels before the first 'size' line")
        if len(rows) == height:
            raise PictureError(f"{name}:{number}: image has more than {height} rows")
        if len(line) != width:
            raise PictureError(f"{name}:{number}: row is {len(line)} pixels wide, expected {width}")
        row = []
        for column, char in enumerate(line, 1):
            if char == TRANSPARENT:
                row.append(None)
            elif char in LETTERS:
                row.append(LETTERS.index(char))
            else:
                raise PictureError(f"{name}:{number}:{column}: unknown pixel character '{char}'")
        rows.append(row)
        lines.append(number)
    if rows is None:
        raise PictureError(f"{name}: no image (no 'size' line)")
    finish()
    return images


def read_source(path):
    try:
        with open(path, encoding="ascii") as f:
            text = f.read()
    except (OSError, UnicodeDecodeError) as e:
        raise PictureError(f"{path}: cannot read: {e}")
    return parse(text, os.path.basename(path))


def side_by_side(images):
    height = images[0].height
    for image in images:
        if image.height != height:
            raise PictureError(f"{image.where}: image is {image.height} rows high, the others {height}")
    rows = [sum((image.rows[y] for image in images), []) for y in range(height)]
    return Image(rows, images[0].where, images[0].lines)


def pack(rows, bits):
    """Pixel values packed bottom-up, each row padded to 4 bytes."""
    data = bytearray()
    per_byte = 8 // bits
    for row in reversed(rows):
        line = bytearray()
        for x in range(0, len(row), per_byte):
            byte = 0
            for i, value in enumerate(row[x:x + per_byte]):
                byte |= value << (8 - bits * (i + 1))
            line.append(byte)
        line.extend(bytes(-len(line) % 4))
        data += line
    return bytes(data)


def info_header(width, height, bits, size, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, size, 0, 0, colours, 0)


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def bmp_file(rows, bits, colours):
    pixels = pack(rows, bits)
    table = palette_bytes(colours)
    offset = 14 + 40 + len(table)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info_header(len(rows[0]), len(rows), bits, len(pixels), len(colours)) + table + pixels


def mask_rows(image):
    return [[1 if p is None else 0 for p in row] for row in image.rows]


def ico_file(images):
    """A 16-colour icon; transparent pixels are black in the colour bits and set in the AND mask."""
    sizes = [(i.width, i.height) for i in images]
    if len(set(sizes)) != len(sizes):
        raise PictureError(f"{images[0].where}: two images of the same size in one icon")
    blobs = []
    for image in images:
        xor = pack([[p or 0 for p in row] for row in image.rows], 4)
        mask = pack(mask_rows(image), 1)
        blobs.append(info_header(image.width, 2 * image.height, 4, len(xor) + len(mask), 0)
                     + palette_bytes(PALETTE) + xor + mask)
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for image, blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", image.width % 256, image.height % 256, 16, 0, 1, 4,
                           len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def refuse_face_colours(image):
    """Silver and grey inside a dialog picture would be repainted by LR_LOADMAP3DCOLORS."""
    for row, line in zip(image.rows, image.lines):
        for x, p in enumerate(row):
            if p in (SILVER, GREY):
                colour = "silver" if p == SILVER else "grey"
                raise PictureError(f"{image.name}:{line}:{x + 1}: {colour} would be repainted "
                                   "with the dialog's colours; use another colour")


def dialog_rows(image):
    """Colour rows with the transparent pixels in silver."""
    return [[SILVER if p is None else p for p in row] for row in image.rows]


def one_image_each(paths, face_colours_allowed=True):
    images = []
    for path in paths:
        found = read_source(path)
        if len(found) != 1:
            raise PictureError(f"{path}: holds {len(found)} images, expected one")
        if not face_colours_allowed:
            refuse_face_colours(found[0])
        images += found
    return side_by_side(images)


def write(path, data):
    """Write through a temporary file so that a failed run leaves no half file."""
    temporary = path + ".tmp"
    with open(temporary, "wb") as f:
        f.write(data)
    os.replace(temporary, path)


def make(command, sources):
    if command == "ico":
        if len(sources) != 1:
            raise PictureError("ico takes one source")
        return ico_file(read_source(sources[0]))
    if command == "bmp":
        return bmp_file(dialog_rows(one_image_each(sources, face_colours_allowed=False)), 4, PALETTE)
    if command == "mask":
        return bmp_file(mask_rows(one_image_each(sources)), 1, [(0, 0, 0), (255, 255, 255)])
    raise PictureError(f"unknown command '{command}'")


def check():
    """Round trip a small picture through the writers, and refuse bad sources."""
    if not __debug__:
        raise SystemExit("pictures.py: the self-check uses assert; run it without -O")
    source = "# test\nsize 3x2\nR.k\nWYB\nsize 2x2\n..\n.b\n"
    images = parse(source)
    assert [(i.width, i.height) for i in images] == [(3, 2), (2, 2)]

    ico = ico_file(images)
    _, kind, count = struct.unpack_from("<HHH", ico)
    assert (kind, count) == (1, 2)
    w, h, colours, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", ico, 6)
    assert (w, h, colours, bits) == (3, 2, 16, 4)
    assert struct.unpack_from("<I", ico, 6 + 16 + 12)[0] == offset + size  # second image follows
    body = ico[offset + 40 + 64:offset + size]
    # bottom row first: W Y B -> F B C; then top row R . k -> 9 0 0
    assert body[:4] == bytes([0xFB, 0xC0, 0, 0]) and body[4:8] == bytes([0x90, 0, 0, 0])
    assert body[8:16] == bytes([0, 0, 0, 0, 0b01000000, 0, 0, 0])  # AND mask, bottom-up
    assert offset + size + 40 + 64 + 8 + 8 == len(ico)  # 2x2: two 4-byte colour rows, two mask rows

    rows = dialog_rows(parse("size 2x1\n.R\n")[0])
    bmp = bmp_file(rows, 4, PALETTE)
    assert bmp[:2] == b"BM" and struct.unpack_from("<I", bmp, 2)[0] == len(bmp)
    assert bmp[-4:] == bytes([0x79, 0, 0, 0])  # silver, red
    mask = bmp_file(mask_rows(parse("size 9x1\n.R.......\n")[0]), 1, [(0, 0, 0), (255, 255, 255)])
    assert mask[-4:] == bytes([0b10111111, 0b10000000, 0, 0])

    wide = side_by_side(parse("size 1x1\nR\n") + parse("size 2x1\n.G\n"))
    assert wide.rows == [[9, None, 10]]

    for bad, message in [("R\n", "before the first"), ("size 2x1\nRx\n", ":2:2: unknown"),
                         ("size 2x2\nRR\n", "1 rows, expected 2"), ("size 2x1\nR\n", "1 pixels wide"),
                         ("size 1x1\nR\nR\n", "more than 1"), ("size 0x4\n", "1 to 256"),
                         ("# empty\n", "no image"), ("size 2x1\nRw\n", None)]:
        try:
            images = parse(bad)
            if message is None:  # parses, but silver is refused in a dialog bitmap
                message = "picture:2:2: silver"
                refuse_face_colours(images[0])
        except PictureError as e:
            assert message in str(e), (bad, str(e))
        else:
            raise AssertionError(f"accepted {bad!r}")
    try:
        side_by_side(parse("size 1x1\nR\n") + parse("size 1x2\nR\nR\n"))
        raise AssertionError("accepted images of different heights")
    except PictureError:
        pass
    print("pictures.py: self-check passed")


def main(argv):
    if argv == ["--check"]:
        check()
        return 0
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    command, output, sources = argv[0], argv[1], argv[2:]
    try:
        write(output, make(command, sources))
    except PictureError as e:
        print(f"pictures.py: {e}", file=sys.stderr)
        return 1
    except OSError as e:
        print(f"pictures.py: cannot write {output}: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
