#!/usr/bin/env python3
"""Turn the text drawings in pictures/ into Windows .ico and .bmp files.

Drawing format (*.draw)
-----------------------
A drawing is a list of shapes on a square of 256 by 256 units, (0, 0) at the
top left, y downwards. The tool draws it at any size in pixels, in full colour
with anti-aliased edges; later shapes cover earlier ones. One statement a
line; lines starting with '#' are comments; numbers may have decimals.

    colour NAME COLOUR          names a colour for the statements below it
    rect    COLOUR X Y W H
    round   COLOUR X Y W H R    a rectangle with corners of radius R
    ellipse COLOUR CX CY RX RY
    polygon COLOUR X Y X Y X Y...          filled by the non-zero rule
    line    COLOUR WIDTH X Y X Y...        a polyline with mitred joins and
                                           flat ends, closed when the last
                                           point is the first
    arc     COLOUR CX CY R FROM TO WIDTH   a band of WIDTH centred on the
                                           circle, from angle FROM to TO in
                                           degrees (0 right, 90 down)
    include FILE [X Y SCALE]    the shapes of another drawing (same folder),
                                scaled by SCALE and moved by X Y; it knows
                                the colour names given before
    at SIZES                    the shapes below only at these sizes in
                                pixels ("16 20", "24-256"); "at all" ends it

COLOUR is a name, #rgb, #rrggbb or #rrggbbaa (aa the opacity).

So that small pictures stay sharp, the edges of rectangles and rounded
rectangles fall on whole pixels at each size, and a line is a whole number of
pixels wide (at least one) with its points on pixel centres or pixel edges
to match; polygons, ellipses and arcs are drawn where they fall. "at" gives
the small sizes their own shapes where a detail needs more room there.

Commands
--------
    pictures.py ico   OUT.ico DRAWING
        An icon with 16, 20, 24, 32, 48 and 256-pixel images, 32-bit colour
        with alpha; the 256 one is stored as PNG, the others as bitmaps with
        an AND mask of the fully transparent pixels.
    pictures.py strip OUT.bmp SIZE DRAWING...
        A 32-bit bitmap of the drawings side by side, left to right, each
        SIZE pixels square, with alpha (not premultiplied), for an image list.
    pictures.py png   OUT.png SIZE DRAWING...
        The same strip as a PNG file, to look at.
    pictures.py --check [FILE...]
        Self-check of the renderer, the writers and the parser; then of the
        files made: an icon holds each of the sizes above, a strip named
        NAME<n>.bmp is a row of 32-bit pictures n pixels square.

Outputs are written whole or not at all: bad input gives a message naming the
file and line, and leaves any earlier output untouched.
"""

import math
import os
import struct
import sys
import zlib

UNITS = 256
ICON_SIZES = (16, 20, 24, 32, 48, 256)


class PictureError(Exception):
    pass


# Reading drawings

class Shape:
    """A shape to draw: its kind, colour (r, g, b, a as 0..1), numbers and
    the sizes it is drawn at (None: all)."""

    def __init__(self, kind, colour, numbers, sizes):
        self.kind, self.colour, self.numbers, self.sizes = kind, colour, numbers, sizes


# Each shape's numbers after its colour: how many, or (P, E) for E numbers
# and then at least P points as X Y pairs.
SHAPES = {"rect": 4, "round": 5, "ellipse": 4, "arc": 6, "polygon": (3, 0), "line": (2, 1)}


def placed(kind, numbers, x, y, scale):
    """A shape's numbers for the shape scaled by scale and moved by x, y."""
    out = [v * scale for v in numbers]
    if kind == "arc":
        out[3:5] = numbers[3:5]  # the angles
    first = 1 if kind == "line" else 0  # after a line's width
    last = len(out) if kind in ("polygon", "line") else 2  # the others: one position, then lengths
    for i in range(first, last):
        out[i] += x if (i - first) % 2 == 0 else y
    return out


def parse_colour(word, names, where):
    if word in names:
        return names[word]
    digits = word[1:]
    if word.startswith("#") and len(digits) in (3, 6, 8):
        try:
            if len(digits) == 3:
                digits = "".join(d * 2 for d in digits)
            values = [int(digits[i:i + 2], 16) for i in range(0, len(digits), 2)]
        except ValueError:
            pass
        else:
            return tuple(v / 255 for v in values) + ((1.0,) if len(values) == 3 else ())
    raise PictureError(f"{where}: unknown colour '{word}'")


def parse_sizes(words, where):
    if words == ["all"]:
        return None
    sizes = set()
    try:
        for word in words:
            low, _, high = word.partition("-")
            low, high = int(low), int(high or low)
            if not 0 < low <= high <= UNITS:
                raise ValueError
            sizes.update(range(low, high + 1))
    except ValueError:
        sizes = set()
    if not sizes:
        raise PictureError(f"{where}: expected 'at all' or sizes such as 'at 16 20' or 'at 24-256'")
    return sizes


def parse_numbers(kind, words, where, wanted=None):
    try:
        numbers = [float(w) for w in words]
    except ValueError:
        raise PictureError(f"{where}: {kind} takes numbers, got '{' '.join(words)}'")
    wanted = wanted or SHAPES[kind]
    if isinstance(wanted, int):
        if len(numbers) != wanted:
            raise PictureError(f"{where}: {kind} takes {wanted} numbers, got {len(numbers)}")
    else:
        points, extra = wanted
        if len(numbers) < 2 * points + extra or (len(numbers) - extra) % 2:
            raise PictureError(f"{where}: {kind} takes {'a width and ' if extra else ''}"
                               f"at least {points} points as X Y pairs")
    return numbers


def parse(text, name="drawing", include=None, names=None, depth=0):
    """The shapes of a drawing. include(file, where) gives the text of an
    included drawing; names are the colour names known so far."""
    names = {} if names is None else names
    if depth > 8:
        raise PictureError(f"{name}: includes nested too deep (does a drawing include itself?)")
    shapes, sizes = [], None
    for number, line in enumerate(text.splitlines(), 1):
        where = f"{name}:{number}"
        words = [] if line.lstrip().startswith("#") else line.split()
        if not words:
            continue
        kind, rest = words[0], words[1:]
        if kind == "colour" and len(rest) == 2:
            names[rest[0]] = parse_colour(rest[1], names, where)
        elif kind == "at":
            sizes = parse_sizes(rest, where)
        elif kind == "include":
            if len(rest) not in (1, 4):
                raise PictureError(f"{where}: expected 'include FILE' or 'include FILE X Y SCALE'")
            if include is None:
                raise PictureError(f"{where}: include is not possible here")
            x, y, scale = parse_numbers(kind, rest[1:], where, 3) if rest[1:] else (0, 0, 1)
            for shape in parse(include(rest[0], where), rest[0], include, dict(names), depth + 1):
                shape.numbers = placed(shape.kind, shape.numbers, x, y, scale)
                if sizes is not None:
                    shape.sizes = sizes if shape.sizes is None else shape.sizes & sizes
                shapes.append(shape)
        elif kind in SHAPES and rest:
            colour = parse_colour(rest[0], names, where)
            shapes.append(Shape(kind, colour, parse_numbers(kind, rest[1:], where), sizes))
        else:
            raise PictureError(f"{where}: unknown statement '{line.strip()}'")
    if not shapes:
        raise PictureError(f"{name}: no shapes")
    return shapes


def read_text(path, where=None):
    try:
        with open(path, encoding="ascii") as f:
            return f.read()
    except (OSError, UnicodeDecodeError) as e:
        raise PictureError(f"{where or path}: cannot read {path}: {e}")


def read_drawing(path):
    folder = os.path.dirname(path)

    def include(file, where):
        return read_text(os.path.join(folder, file), where)

    return parse(read_text(path), os.path.basename(path), include)


# Drawing

def snap(value):
    return math.floor(value + 0.5)


def rect_outline(x, y, w, h, r=0.0, corner_points=10):
    if r <= 0:
        return [(x, y), (x + w, y), (x + w, y + h), (x, y + h)]
    r = min(r, w / 2, h / 2)
    points = []
    for cx, cy, start in ((x + w - r, y + r, -90), (x + w - r, y + h - r, 0), (x + r, y + h - r, 90),
                          (x + r, y + r, 180)):
        for i in range(corner_points + 1):
            angle = math.radians(start + 90 * i / corner_points)
            points.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    return points


def ellipse_outline(cx, cy, rx, ry, steps):
    return [(cx + rx * math.cos(2 * math.pi * i / steps), cy + ry * math.sin(2 * math.pi * i / steps))
            for i in range(steps)]


def arc_outline(cx, cy, r, start, end, width, steps):
    angles = [math.radians(start + (end - start) * i / steps) for i in range(steps + 1)]
    outer = [(cx + (r + width / 2) * math.cos(a), cy + (r + width / 2) * math.sin(a)) for a in angles]
    inner = [(cx + (r - width / 2) * math.cos(a), cy + (r - width / 2) * math.sin(a)) for a in angles]
    return outer + inner[::-1]


def line_outlines(points, width):
    """Polygons covering a polyline: a quad per segment, mitred joins, and
    square ends: an open line reaches half its width past its end points."""
    closed = len(points) > 2 and points[0] == points[-1]
    points = [p for i, p in enumerate(points) if i == 0 or p != points[i - 1]]
    half = width / 2
    if len(points) < 2:
        return [rect_outline(points[0][0] - half, points[0][1] - half, width, width)]
    if not closed:
        points[0] = extended(points[1], points[0], half)
        points[-1] = extended(points[-2], points[-1], half)
    normals = []
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        length = math.hypot(x1 - x0, y1 - y0)
        normals.append((-(y1 - y0) / length * half, (x1 - x0) / length * half))
    polygons = [[(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]
                for (x0, y0), (x1, y1), (nx, ny) in zip(points, points[1:], normals)]
    joins = list(zip(points[1:-1], normals, normals[1:]))
    if closed:
        joins.append((points[0], normals[-1], normals[0]))
    for (x, y), (ax, ay), (bx, by) in joins:
        mx, my = ax + bx, ay + by
        square = (mx * mx + my * my) / (half * half)
        for side in (1, -1):
            corner = [(x, y), (x + side * ax, y + side * ay)]
            if square > 0.5:  # not too sharp for a mitre
                corner.append((x + side * mx * 2 / square, y + side * my * 2 / square))
            polygons.append(corner + [(x + side * bx, y + side * by)])
    return polygons


def extended(start, end, length):
    """end moved by length away from start."""
    dx, dy = end[0] - start[0], end[1] - start[1]
    scale = length / math.hypot(dx, dy)
    return (end[0] + dx * scale, end[1] + dy * scale)


def outlines(shape, scale):
    """The shape's polygons in pixels at scale pixels per unit."""
    n = shape.numbers
    if shape.kind in ("rect", "round"):
        x0, y0, x1, y1 = (snap(v * scale) for v in (n[0], n[1], n[0] + n[2], n[1] + n[3]))
        radius = n[4] * scale if shape.kind == "round" else 0
        return [rect_outline(x0, y0, x1 - x0, y1 - y0, radius)]
    if shape.kind == "ellipse":
        return [ellipse_outline(*(v * scale for v in n), steps=96)]
    if shape.kind == "arc":
        cx, cy, r, start, end, width = n
        return [arc_outline(cx * scale, cy * scale, r * scale, start, end, width * scale, steps=64)]
    if shape.kind == "polygon":
        return [[(n[i] * scale, n[i + 1] * scale) for i in range(0, len(n), 2)]]
    width = max(1, snap(n[0] * scale))
    offset = 0.5 if width % 2 else 0.0  # odd widths centre on pixels, even ones on their edges
    points = [(math.floor(n[i] * scale) + offset if offset else snap(n[i] * scale),
               math.floor(n[i + 1] * scale) + offset if offset else snap(n[i + 1] * scale))
              for i in range(1, len(n), 2)]
    return line_outlines(points, width)


def coverage(polygons, size, rows_per_pixel):
    """How much of each pixel the polygons cover together (non-zero rule),
    0..1, row by row: rows_per_pixel scan lines a pixel, exact along each."""
    edges = []
    for polygon in polygons:
        area = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(polygon, polygon[1:] + polygon[:1]))
        if area < 0:  # all one way round, so that overlapping polygons add up
            polygon = polygon[::-1]
        for (x0, y0), (x1, y1) in zip(polygon, polygon[1:] + polygon[:1]):
            if y0 != y1:
                direction = 1 if y1 > y0 else -1
                if y0 > y1:
                    x0, y0, x1, y1 = x1, y1, x0, y0
                edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), direction))
    edges.sort()
    cover = [[0.0] * size for _ in range(size)]
    weight = 1 / rows_per_pixel
    active, next_edge = [], 0
    for line in range(size * rows_per_pixel):
        y = (line + 0.5) * weight
        while next_edge < len(edges) and edges[next_edge][0] <= y:
            active.append(edges[next_edge])
            next_edge += 1
        active = [e for e in active if e[1] > y]
        crossings = sorted((x0 + (y - y0) * slope, direction)
                           for y0, y1, x0, slope, direction in active if y0 <= y)
        row, winding = cover[int(y)], 0
        for (x, direction), (following, _) in zip(crossings, crossings[1:] + [(0, 0)]):
            winding += direction
            if winding:
                add_span(row, x, following, weight)
    return cover


def add_span(row, x0, x1, weight):
    x0, x1 = max(x0, 0.0), min(x1, float(len(row)))
    if x1 <= x0:
        return
    first, last = int(x0), int(x1)
    if first == last:
        row[first] += (x1 - x0) * weight
        return
    row[first] += (first + 1 - x0) * weight
    for i in range(first + 1, last):
        row[i] += weight
    if last < len(row):
        row[last] += (x1 - last) * weight


def render(shapes, size):
    """The drawing at size pixels: rows of (r, g, b, a) tuples, 0..255,
    alpha not premultiplied."""
    scale = size / UNITS
    rows_per_pixel = 16 if size <= 48 else 4
    # premultiplied red, green, blue and alpha per pixel
    canvas = [[[0.0] * 4 for _ in range(size)] for _ in range(size)]
    for shape in shapes:
        if shape.sizes is not None and size not in shape.sizes:
            continue
        cover = coverage(outlines(shape, scale), size, rows_per_pixel)
        r, g, b, a = shape.colour
        for canvas_row, cover_row in zip(canvas, cover):
            for pixel, amount in zip(canvas_row, cover_row):
                if amount > 0:
                    alpha = min(amount, 1.0) * a
                    keep = 1 - alpha
                    pixel[0] = pixel[0] * keep + r * alpha
                    pixel[1] = pixel[1] * keep + g * alpha
                    pixel[2] = pixel[2] * keep + b * alpha
                    pixel[3] = pixel[3] * keep + alpha
    return [[straight(pixel) for pixel in row] for row in canvas]


def straight(pixel):
    alpha = snap(pixel[3] * 255)
    if alpha == 0:
        return (0, 0, 0, 0)
    return tuple(min(255, snap(c / pixel[3] * 255)) for c in pixel[:3]) + (alpha,)


def side_by_side(images):
    return [sum((image[y] for image in images), []) for y in range(len(images[0]))]


# Writing

def bgra_bottom_up(rows):
    return b"".join(bytes(v for r, g, b, a in row for v in (b, g, r, a)) for row in reversed(rows))


def and_mask(rows):
    """1 bit a pixel, set where fully transparent, bottom-up, rows padded to 4 bytes."""
    data = bytearray()
    for row in reversed(rows):
        line = bytearray((len(row) + 31) // 32 * 4)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    return bytes(data)


def info_header(width, height, size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, size, 0, 0, 0, 0)


def bmp_file(rows):
    pixels = bgra_bottom_up(rows)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    return head + info_header(len(rows[0]), len(rows), len(pixels)) + pixels


def png_file(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def ico_file(images):
    """An icon of square images; those of 256 pixels as PNG."""
    blobs = []
    for rows in images:
        if len(rows) >= 256:
            blobs.append(png_file(rows))
        else:
            pixels, mask = bgra_bottom_up(rows), and_mask(rows)
            blobs.append(info_header(len(rows), 2 * len(rows), len(pixels) + len(mask)) + pixels + mask)
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for rows, blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", len(rows) % 256, len(rows) % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def write(path, data):
    """Write through a temporary file so that a failed run leaves no half file."""
    temporary = path + ".tmp"
    with open(temporary, "wb") as f:
        f.write(data)
    os.replace(temporary, path)


def strip_size(word):
    if not word.isdigit() or not 0 < int(word) <= UNITS:
        raise PictureError(f"size must be 1 to {UNITS} pixels, got '{word}'")
    return int(word)


def make(command, arguments):
    if command == "ico" and len(arguments) == 1:
        shapes = read_drawing(arguments[0])
        return ico_file([render(shapes, size) for size in ICON_SIZES])
    if command in ("strip", "png") and len(arguments) >= 2:
        size = strip_size(arguments[0])
        rows = side_by_side([render(read_drawing(path), size) for path in arguments[1:]])
        return bmp_file(rows) if command == "strip" else png_file(rows)
    raise PictureError(f"unknown command or wrong arguments: {command} {' '.join(arguments)}")


# Self-check

def ico_sizes(ico):
    """The sizes of an icon's images, and whether each is a PNG."""
    _, kind, count = struct.unpack_from("<HHH", ico)
    assert kind == 1
    found = []
    for i in range(count):
        w, _, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i)
        assert bits == 32 and offset + size <= len(ico)
        found.append((w or 256, ico[offset:offset + 4] == b"\x89PNG"))
    return found


def check_file(path):
    with open(path, "rb") as f:
        data = f.read()
    if path.endswith(".ico"):
        found = ico_sizes(data)
        assert found == [(size, size >= 256) for size in ICON_SIZES], f"{path}: {found}"
        return
    digits = "".join(c for c in os.path.basename(path) if c.isdigit())
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    assert data[:2] == b"BM" and bits == 32, f"{path}: not a 32-bit bitmap"
    assert abs(height) == int(digits) and width % int(digits) == 0, f"{path}: {width}x{height}"


def check(files):
    """Draw small pictures, read them back from the files, and refuse bad drawings."""
    if not __debug__:
        raise SystemExit("pictures.py: the self-check uses assert; run it without -O")
    # A red square on the left half, and a half-transparent blue one over its lower half.
    shapes = parse("colour half #0000ff80\nrect #f00 0 0 128 256\nat 4\nrect half 0 128 256 128\n")
    two = render(shapes, 2)
    assert two == [[(255, 0, 0, 255), (0, 0, 0, 0)], [(255, 0, 0, 255), (0, 0, 0, 0)]], two
    four = render(shapes, 4)
    assert four[3][0] == (127, 0, 128, 255) and four[3][3] == (0, 0, 255, 128), four[3]
    # Anti-aliased: a triangle over half a pixel, a line one pixel wide on pixel centres.
    assert render(parse("polygon #fff 0 0 256 0 256 256"), 1) == [[(255, 255, 255, 128)]]
    line = render(parse("line #000 80 32 128 224 128"), 4)  # 1.25 pixels wide: one, on centres
    assert [row[0][3] for row in line] == [0, 0, 255, 0] and line[2] == [(0, 0, 0, 255)] * 4, line
    # Joins: a square drawn as a closed line leaves its middle and fills its corners.
    ring = render(parse("line #000 32 32 32 224 32 224 224 32 224 32 32"), 8)
    assert [p[3] for p in ring[1]] == [0] + [255] * 7 and ring[3][3][3] == 0, ring

    icon = ico_file([render(shapes, size) for size in (16, 256)])
    assert ico_sizes(icon) == [(16, False), (256, True)]
    _, _, _, _, _, _, size, offset = struct.unpack_from("<BBBBHHII", icon, 6)
    assert struct.unpack_from("<ii", icon, offset + 4) == (16, 32) and size == 40 + 16 * 16 * 4 + 16 * 4
    bottom_left = icon[offset + 40:offset + 44]
    assert bottom_left == bytes([0, 0, 255, 255]) and icon[offset + 40 + 60] == 0  # opaque red; bgra
    mask = icon[offset + 40 + 1024:offset + size]
    assert mask == bytes([0, 0xFF, 0, 0]) * 16  # the right half is clear
    bmp = bmp_file(side_by_side([render(shapes, 3)] * 2))
    assert bmp[:2] == b"BM" and struct.unpack_from("<IiiHH", bmp, 14) == (40, 6, 3, 1, 32)
    assert len(bmp) == 54 + 6 * 3 * 4 and bmp[54:58] == bytes([0, 0, 255, 255])

    sizes = parse("at 16 20-22\nrect #000 0 0 1 1\nat all\nrect #000 0 0 1 1\n")
    assert sizes[0].sizes == {16, 20, 21, 22} and sizes[1].sizes is None
    for bad, message in [("rect #000 1 2 3", ":2: rect takes 4 numbers, got 3"),
                         ("polygon #000 0 0 1 1", ":2: polygon takes at least 3 points"),
                         ("line #000 1 0 0 1", ":2: line takes a width and at least 2 points"),
                         ("rect red 0 0 1 1", ":2: unknown colour 'red'"),
                         ("rect #00 0 0 1 1", ":2: unknown colour"), ("", "drawing: no shapes"),
                         ("square #000 1", ":2: unknown statement"), ("at 0-16", ":2: expected 'at all'"),
                         ("at 20-16", ":2: expected"), ("ellipse #000 a b c d", ":2: ellipse takes numbers"),
                         ("include other.draw 1 2", ":2: expected 'include FILE'"),
                         ("include other.draw", ":2: include is not possible")]:
        try:
            parse("# test\n" + bad + "\n")
        except PictureError as e:
            assert message in str(e), (bad, str(e))
        else:
            raise AssertionError(f"accepted {bad!r}")
    # An included drawing placed: half its size, at the top right; with colours by name.
    sources = {"a.draw": "colour it #00ff00\nat 2\ninclude b.draw 128 0 0.5",
             "b.draw": "at 2-4\nline it 128 0 64 256 64\nat 4\nrect #000 0 0 256 256\n",
}
    placed_image = render(parse(sources["a.draw"], "a.draw", lambda file, where: sources[file]), 2)
    assert placed_image == [[(0, 0, 0, 0), (0, 255, 0, 255)], [(0, 0, 0, 0)] * 2], placed_image
    loop = {"a.draw": "include b.draw", "b.draw": "include a.draw"}
    try:
        parse(loop["a.draw"], "a.draw", lambda file, where: loop[file])
        raise AssertionError("accepted an include loop")
    except PictureError as e:
        assert "nested too deep" in str(e), str(e)
    for path in files:
        check_file(path)
    print(f"pictures.py: self-check passed, {len(files)} files checked")


def main(argv):
    if argv[:1] == ["--check"]:
        check(argv[1:])
        return 0
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    command, output, arguments = argv[0], argv[1], argv[2:]
    try:
        write(output, make(command, arguments))
    except PictureError as e:
        print(f"pictures.py: {e}", file=sys.stderr)
        return 1
    except OSError as e:
        print(f"pictures.py: cannot write {output}: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
