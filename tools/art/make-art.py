#!/usr/bin/python3
"""Draws the installer's artwork: res/banner.png and res/installer.ico.

Needs Pillow and the DejaVu fonts (Debian: python3-pil for /usr/bin/python3, fonts-dejavu-core).
The outputs are committed and byte-for-byte reproducible; run this again after changing the
drawing:  tools/art/make-art.py [OUTPUT_DIR]   (OUTPUT_DIR defaults to res/)

banner.png     700 x 314, 8-bit palette: the logo and the product name on a blue field beside
               pictures of the suite's applications (document, spreadsheet, presentation).
installer.ico  the logo at 256 (PNG-compressed), 128, 96, 64, 48, 40, 32, 24 and 16 pixels,
               32-bit with alpha.
"""
import io
import os
import struct
import sys

try:
    from PIL import Image, ImageDraw, ImageFilter, ImageFont
except ImportError:
    sys.exit("make-art.py needs Pillow: run it with Debian's /usr/bin/python3 (python3-pil)")

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SS = 4  # supersampling factor: everything is drawn large and scaled down for smooth edges

BANNER_SIZE = (700, 314)
ICON_SIZES = [256, 128, 96, 64, 48, 40, 32, 24, 16]

# Palette of the brand.
BLUE_TOP = (26, 102, 214)
BLUE_BOTTOM = (10, 55, 140)
TILE_TOP = (40, 130, 255)
TILE_BOTTOM = (12, 72, 178)
ORANGE = (255, 159, 28)
WHITE = (255, 255, 255)
INK = (52, 64, 84)
LINE = (196, 205, 218)
WORD_BLUE = (22, 70, 170)
SHEET_GREEN = (33, 150, 83)
SLIDE_ORANGE = (232, 106, 38)


def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def vertical_gradient(size, top, bottom):
    width, height = size
    column = Image.new("RGB", (1, height))
    for y in range(height):
        t = y / max(1, height - 1)
        column.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return column.resize(size)


def bezier(p0, p1, p2, steps=24):
    """Points of a quadratic Bézier curve from p0 to p2 pulled towards p1."""
    points = []
    for i in range(steps + 1):
        t = i / steps
        points.append(tuple((1 - t) ** 2 * a + 2 * (1 - t) * t * b + t * t * c
                            for a, b, c in zip(p0, p1, p2)))
    return points


def mark_shapes():
    """The logo, a "K" whose upper arm is a kestrel's raised wing, in unit coordinates.

    Returns (stem and leg polygons in white, wing polygon in orange)."""
    stem = [(0.25, 0.20), (0.39, 0.20), (0.39, 0.80), (0.25, 0.80)]
    leg = [(0.43, 0.53), (0.55, 0.47), (0.80, 0.80), (0.63, 0.80)]
    wing = (bezier((0.42, 0.50), (0.47, 0.23), (0.85, 0.15))
            + bezier((0.85, 0.15), (0.60, 0.35), (0.42, 0.67))[1:])
    return [stem, leg], wing


def draw_mark(size):
    """The logo on its rounded blue tile, as an RGBA image of size x size pixels."""
    big = size * SS
    tile = vertical_gradient((big, big), TILE_TOP, TILE_BOTTOM).convert("RGBA")
    mask = Image.new("L", (big, big), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, big - 1, big - 1), radius=round(big * 0.22),
                                           fill=255)
    tile.putalpha(mask)

    draw = ImageDraw.Draw(tile)
    white_shapes, wing = mark_shapes()
    scale = lambda points: [(x * big, y * big) for x, y in points]  # noqa: E731
    for shape in white_shapes:
        draw.polygon(scale(shape), fill=WHITE)
    draw.polygon(scale(wing), fill=ORANGE)
    return tile.resize((size, size), Image.LANCZOS)


def shadow(size, box, radius, blur, opacity):
    """A blurred dark shape under a card."""
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    ImageDraw.Draw(layer).rounded_rectangle(box, radius=radius, fill=(4, 20, 60, opacity))
    return layer.filter(ImageFilter.GaussianBlur(blur))


def card(size, accent, draw_body):
    """A white application window with a coloured title strip; draw_body fills it."""
    w, h = size
    image = Image.new("RGBA", size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    r = 6 * SS
    draw.rounded_rectangle((0, 0, w - 1, h - 1), radius=r, fill=WHITE)
    draw.rounded_rectangle((0, 0, w - 1, 16 * SS), radius=r, fill=accent)
    draw.rectangle((0, 10 * SS, w - 1, 16 * SS), fill=accent)
    for i in range(3):
        cx = w - (10 + 9 * i) * SS
        draw.ellipse((cx - 2.5 * SS, 8 * SS - 2.5 * SS, cx + 2.5 * SS, 8 * SS + 2.5 * SS),
                     fill=(255, 255, 255, 150))
    draw_body(draw, w, h)
    return image


def document_body(draw, w, h):
    x0, x1 = 16 * SS, w - 16 * SS
    y = 30 * SS
    draw.rounded_rectangle((x0, y, x0 + (x1 - x0) * 0.62, y + 8 * SS), radius=3 * SS,
                           fill=WORD_BLUE)
    y += 20 * SS
    widths = [1.0, 0.94, 0.98, 0.7, None, 1.0, 0.9, 0.96, 0.82, 0.55, None, 1.0, 0.93, 0.64]
    for fraction in widths:
        if fraction is None:
            y += 6 * SS
            continue
        if y + 4 * SS > h - 12 * SS:
            break
        draw.rounded_rectangle((x0, y, x0 + (x1 - x0) * fraction, y + 4 * SS), radius=2 * SS,
                               fill=LINE)
        y += 10 * SS


def spreadsheet_body(draw, w, h):
    x0, y0 = 10 * SS, 26 * SS
    x1, y1 = w - 10 * SS, h - 10 * SS
    columns, rows = 5, 8
    cw, rh = (x1 - x0) / columns, (y1 - y0) / rows
    draw.rectangle((x0, y0, x1, y0 + rh), fill=(222, 242, 230))
    draw.rectangle((x0, y0, x0 + cw * 0.7, y1), fill=(236, 240, 245))
    highlighted = {(2, 3), (3, 3), (2, 4), (3, 4)}
    for c, r in highlighted:
        draw.rectangle((x0 + cw * c, y0 + rh * r, x0 + cw * (c + 1), y0 + rh * (r + 1)),
                       fill=(200, 235, 214))
    for r in range(rows + 1):
        draw.line((x0, y0 + rh * r, x1, y0 + rh * r), fill=LINE, width=SS)
    for c in range(columns + 1):
        draw.line((x0 + cw * c, y0, x0 + cw * c, y1), fill=LINE, width=SS)
    draw.rectangle((x0 + cw * 2, y0 + rh * 3, x0 + cw * 4, y0 + rh * 5), outline=SHEET_GREEN,
                   width=2 * SS)
    for r in range(1, rows):
        for c in range(1, columns):
            if (c + r) % 3 == 0 or (c, r) in highlighted:
                continue
            left = x0 + cw * c + 4 * SS
            length = cw * (0.35 + 0.4 * (((c * 7 + r * 3) % 5) / 4)) - 8 * SS
            mid = y0 + rh * r + rh / 2
            draw.rectangle((left, mid - 1.5 * SS, left + max(length, 4 * SS), mid + 1.5 * SS),
                           fill=(150, 160, 175))


def slide_body(draw, w, h):
    x0, y0 = 14 * SS, 28 * SS
    draw.rounded_rectangle((x0, y0, x0 + (w - 28 * SS) * 0.55, y0 + 9 * SS), radius=3 * SS,
                           fill=SLIDE_ORANGE)
    for i, fraction in enumerate((0.42, 0.36, 0.4)):
        y = y0 + (24 + 12 * i) * SS
        draw.ellipse((x0, y, x0 + 5 * SS, y + 5 * SS), fill=SLIDE_ORANGE)
        draw.rounded_rectangle((x0 + 9 * SS, y + 0.5 * SS, x0 + 9 * SS + (w - 28 * SS) * fraction,
                                y + 4.5 * SS), radius=2 * SS, fill=LINE)
    # A bar chart on the right half of the slide.
    base = h - 14 * SS
    left = w * 0.6
    bars = [(0.45, (255, 190, 120)), (0.7, SLIDE_ORANGE), (0.55, (255, 190, 120)),
            (0.9, SLIDE_ORANGE)]
    bw = (w - 14 * SS - left) / (len(bars) * 1.5)
    for i, (fraction, colour) in enumerate(bars):
        bx = left + i * bw * 1.5
        draw.rectangle((bx, base - (base - y0 - 14 * SS) * fraction, bx + bw, base), fill=colour)
    draw.line((left - 4 * SS, base, w - 12 * SS, base), fill=INK, width=SS)


def paste_card(canvas, image, position, angle):
    """Pastes a card rotated by angle degrees with its shadow; position is its centre."""
    rotated = image.rotate(angle, resample=Image.BICUBIC, expand=True)
    x = round(position[0] - rotated.width / 2)
    y = round(position[1] - rotated.height / 2)
    # The shadow gets a margin so that the blur is not cut off at the card's edges.
    margin = 24 * SS
    dark = Image.new("RGBA", (rotated.width + 2 * margin, rotated.height + 2 * margin),
                     (4, 20, 60, 0))
    dark.paste(Image.new("RGBA", rotated.size, (4, 20, 60, 255)), (margin, margin),
               rotated.getchannel("A").point(lambda a: a * 110 // 255))
    dark = dark.filter(ImageFilter.GaussianBlur(7 * SS))
    canvas.alpha_composite(dark, (x - margin + 2 * SS, y - margin + 7 * SS))
    canvas.alpha_composite(rotated, (x, y))


def make_banner():
    w, h = BANNER_SIZE[0] * SS, BANNER_SIZE[1] * SS
    canvas = vertical_gradient((w, h), BLUE_TOP, BLUE_BOTTOM).convert("RGBA")

    # Large, faint circles for a calm background texture.
    glow = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    g = ImageDraw.Draw(glow)
    g.ellipse((-170 * SS, 150 * SS, 330 * SS, 650 * SS), fill=(255, 255, 255, 16))
    g.ellipse((360 * SS, -260 * SS, 900 * SS, 280 * SS), fill=(255, 255, 255, 14))
    g.ellipse((470 * SS, 190 * SS, 760 * SS, 480 * SS), fill=(0, 20, 70, 30))
    canvas.alpha_composite(glow.filter(ImageFilter.GaussianBlur(2 * SS)))

    # The applications, fanned out on the right.
    paste_card(canvas, card((150 * SS, 190 * SS), SHEET_GREEN, spreadsheet_body),
               (452 * SS, 160 * SS), 7)
    paste_card(canvas, card((138 * SS, 180 * SS), WORD_BLUE, document_body),
               (545 * SS, 128 * SS), 0)
    paste_card(canvas, card((172 * SS, 112 * SS), SLIDE_ORANGE, slide_body),
               (598 * SS, 216 * SS), -5)

    # The logo and the product name on the left.
    tile = draw_mark(84 * SS)
    canvas.alpha_composite(shadow((w, h), (40 * SS, 66 * SS, 124 * SS, 150 * SS), 18 * SS,
                                  6 * SS, 70))
    canvas.alpha_composite(tile, (38 * SS, 60 * SS))
    draw = ImageDraw.Draw(canvas)
    bold = font("DejaVuSans-Bold.ttf", 40 * SS)
    light = font("DejaVuSans-ExtraLight.ttf", 40 * SS)
    x, y = 38 * SS, 168 * SS
    draw.text((x, y), "Kestrix", font=bold, fill=WHITE)
    x += draw.textlength("Kestrix ", font=bold)
    draw.text((x, y), "Office", font=light, fill=WHITE)
    draw.rounded_rectangle((40 * SS, 228 * SS, 88 * SS, 232 * SS), radius=2 * SS, fill=ORANGE)
    caption = font("DejaVuSans.ttf", 13 * SS)
    draw.text((40 * SS, 242 * SS), "Documents  \u00b7  Spreadsheets  \u00b7  Presentations",
              font=caption, fill=(214, 228, 255))

    banner = canvas.convert("RGB").resize(BANNER_SIZE, Image.LANCZOS)
    return banner.quantize(colors=256, method=Image.Quantize.MEDIANCUT,
                           dither=Image.Dither.FLOYDSTEINBERG)


def dib_entry(image):
    """A 32-bit icon image as BITMAPINFOHEADER, bottom-up BGRA pixels and the AND mask."""
    size = image.width
    rgba = image.tobytes()
    stride = size * 4
    pixels = bytearray()
    for row in range(size - 1, -1, -1):
        line = rgba[row * stride:(row + 1) * stride]
        for i in range(0, stride, 4):
            r, g, b, a = line[i:i + 4]
            pixels += bytes((b, g, r, a))
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in range(size - 1, -1, -1):
        bits = bytearray(mask_stride)
        for column in range(size):
            if rgba[row * stride + column * 4 + 3] == 0:
                bits[column // 8] |= 0x80 >> (column % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(pixels) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def make_icon():
    """The .ico file: the 256-pixel image PNG-compressed, the smaller ones as DIBs."""
    images = []
    for size in ICON_SIZES:
        image = draw_mark(size)
        if size == 256:
            buffer = io.BytesIO()
            image.save(buffer, "PNG", optimize=True)
            images.append((size, buffer.getvalue()))
        else:
            images.append((size, dib_entry(image)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, blob in images:
        side = 0 if size == 256 else size
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return directory + entries + blobs


def main(argv):
    out = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                     "..", "..", "res")
    make_banner().save(os.path.join(out, "banner.png"), "PNG", optimize=False, bits=8)
    with open(os.path.join(out, "installer.ico"), "wb") as f:
        f.write(make_icon())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
