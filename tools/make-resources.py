#!/usr/bin/env python3
"""Generates the launcher's pictures, icon and display font into resources/.

Each picture comes twice: at its size on a 96-DPI screen and at twice that size
("...@2x.png"), from which the launcher scales it for screens of a higher DPI.

Needs Debian's python3-pil, python3-fonttools and fonts-bebas-neue. The results are
committed, so a build does not run this; run it again after changing the artwork:

    tools/make-resources.py [resources-folder]
"""
import math
import random
import struct
import sys
from pathlib import Path

from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont, newTable
from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SOURCE_FONT = Path("/usr/share/fonts/opentype/bebas-neue/BebasNeue-Regular.otf")
# The heavier cut reads better in the small captions; it becomes "Impact" Regular.
DISPLAY_FONT = Path("/usr/share/fonts/opentype/bebas-neue/BebasNeue-Bold.otf")
SOURCE_LICENCE = Path("/usr/share/doc/fonts-bebas-neue/copyright")
SS = 4  # supersampling factor for smooth edges

INK = (0xF3, 0xEE, 0xE6)  # warm white
EMBER = (0xD9, 0x6A, 0x2B)
SLATE = (0x1E, 0x24, 0x30)


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def downsample(image, size):
    """Resizes with premultiplied alpha, so transparent pixels lend no colour to edges."""
    return image.convert("RGBa").resize(size, Image.LANCZOS).convert("RGBA")


def clean_alpha(image):
    """Gives fully transparent pixels the colour black, so no stray colour is stored."""
    pixels = image.load()
    for y in range(image.height):
        for x in range(image.width):
            if pixels[x, y][3] == 0:
                pixels[x, y] = (0, 0, 0, 0)
    return image


def font(size):
    return ImageFont.truetype(str(SOURCE_FONT), size)


def vertical_gradient(size, stops):
    """stops: list of (position 0..1, colour)."""
    w, h = size
    image = Image.new("RGB", size)
    draw = ImageDraw.Draw(image)
    for y in range(h):
        t = y / max(h - 1, 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                draw.line([(0, y), (w, y)], fill=lerp(c0, c1, (t - p0) / max(p1 - p0, 1e-6)))
                break
    return image


def ridge(width, base, roughness, seed, points=257):
    """A mountain ridge by midpoint displacement: heights for x = 0 .. width."""
    rng = random.Random(seed)
    heights = [0.0] * points
    heights[0] = rng.uniform(-1, 1)
    heights[-1] = rng.uniform(-1, 1)
    step, scale = points - 1, 1.0
    while step > 1:
        half = step // 2
        for i in range(half, points - 1, step):
            heights[i] = (heights[i - half] + heights[i + half]) / 2 + rng.uniform(-scale, scale)
        step, scale = half, scale * roughness
    return [(x * width / (points - 1), base + h) for x, h in enumerate(heights)]


def background(out):
    w, h = 608 * SS, 396 * SS
    sky = vertical_gradient((w, h), [
        (0.0, (0x0B, 0x11, 0x1E)), (0.45, (0x1A, 0x27, 0x3E)),
        (0.68, (0x4A, 0x3A, 0x44)), (0.80, (0x8E, 0x55, 0x3A)), (1.0, (0x2A, 0x1C, 0x1A))])
    image = sky.convert("RGBA")

    # A warm glow low on the right, where the sun has just set behind the mountains.
    glow = Image.new("L", (w, h), 0)
    ImageDraw.Draw(glow).ellipse([360 * SS, 200 * SS, 700 * SS, 420 * SS], fill=150)
    glow = glow.filter(ImageFilter.GaussianBlur(60 * SS))
    image = Image.composite(Image.new("RGBA", (w, h), (0xF0, 0x96, 0x50, 255)), image, glow)

    # Stars in the upper sky, fading towards the horizon.
    rng = random.Random(7)
    draw = ImageDraw.Draw(image)
    for _ in range(170):
        x, y = rng.uniform(0, w), rng.uniform(0, h * 0.55) ** 1.0
        fade = 1 - y / (h * 0.55)
        level = int(90 + 160 * fade * rng.random())
        r = rng.choice([0.6, 0.8, 1.0, 1.0, 1.4]) * SS
        draw.ellipse([x - r, y - r, x + r, y + r], fill=(level, level, min(255, level + 12), 255))

    # Three ridges, far to near, each darker and bluer-black than the one behind.
    layers = [
        (h * 0.60, 0.55, 11, 80 * SS, (0x3B, 0x33, 0x45)),
        (h * 0.74, 0.52, 23, 55 * SS, (0x22, 0x21, 0x2E)),
        (h * 0.87, 0.50, 5, 30 * SS, (0x0C, 0x0E, 0x14)),
    ]
    for base, roughness, seed, amplitude, colour in layers:
        line = [(x, base + y * amplitude) for x, y in
                [(px, py - base) for px, py in ridge(w, base, roughness, seed)]]
        mask = Image.new("L", (w, h), 0)
        ImageDraw.Draw(mask).polygon(line + [(w, h), (0, h)], fill=255)
        image = Image.composite(Image.new("RGBA", (w, h), colour + (255,)), image, mask)
        # A little haze at the foot of each ridge.
        haze = mask.filter(ImageFilter.GaussianBlur(8 * SS)).point(lambda v: v // 6)
        image = Image.composite(Image.new("RGBA", (w, h), (0x90, 0x70, 0x70, 255)), image, haze)

    # Darken the bottom right corner further, behind the version text.
    corner = Image.new("L", (w, h), 0)
    ImageDraw.Draw(corner).rectangle([470 * SS, 350 * SS, w, h], fill=200)
    corner = corner.filter(ImageFilter.GaussianBlur(24 * SS))
    image = Image.composite(Image.new("RGBA", (w, h), (0x05, 0x06, 0x09, 255)), image, corner)

    # The menu card: light, so that near-black captions (and their grey hover colour)
    # read clearly. Rows: captions at x 123..299, y 144..334; icons at x 88.
    card = (64 * SS, 124 * SS, 330 * SS, 352 * SS)
    shadow = Image.new("L", (w, h), 0)
    ImageDraw.Draw(shadow).rounded_rectangle(
        (card[0] + 4 * SS, card[1] + 8 * SS, card[2] + 4 * SS, card[3] + 10 * SS), 12 * SS, fill=190)
    shadow = shadow.filter(ImageFilter.GaussianBlur(10 * SS))
    image = Image.composite(Image.new("RGBA", (w, h), (0, 0, 0, 255)), image, shadow)

    card_fill = vertical_gradient((card[2] - card[0], card[3] - card[1]),
                                  [(0.0, (0xEF, 0xEB, 0xE4)), (1.0, (0xDD, 0xD7, 0xCC))])
    card_mask = Image.new("L", card_fill.size, 0)
    ImageDraw.Draw(card_mask).rounded_rectangle(
        (0, 0, card_fill.width - 1, card_fill.height - 1), 12 * SS, fill=255)
    image.paste(card_fill, card[:2], card_mask)
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle(card, 12 * SS, outline=(0xFA, 0xF8, 0xF4, 255), width=SS)
    # An ember accent on the card's left edge and hairlines between the rows.
    draw.rounded_rectangle((card[0] + 10 * SS, 140 * SS, card[0] + 13 * SS, 336 * SS), 2 * SS,
                           fill=EMBER + (255,))
    for y in (187, 239, 291):
        draw.line([(88 * SS, y * SS), (306 * SS, y * SS)], fill=(0xC9, 0xC1, 0xB3, 255), width=SS)

    # The name, large and light, over the sky on the right.
    title_font = font(62 * SS)
    text = "VANTORRA"
    spacing = 4 * SS
    widths = [draw.textlength(c, font=title_font) for c in text]
    total = sum(widths) + spacing * (len(text) - 1)
    x0, y0 = 469 * SS - total / 2, 40 * SS
    halo = Image.new("L", (w, h), 0)
    halo_draw = ImageDraw.Draw(halo)
    x = x0
    for c, cw in zip(text, widths):
        halo_draw.text((x, y0), c, font=title_font, fill=255)
        x += cw + spacing
    soft = halo.filter(ImageFilter.GaussianBlur(14 * SS)).point(lambda v: v * 2 // 5)
    image = Image.composite(Image.new("RGBA", (w, h), (0xF0, 0x96, 0x50, 255)), image, soft)
    image = Image.composite(Image.new("RGBA", (w, h), INK + (255,)), image, halo)
    draw = ImageDraw.Draw(image)
    rule_y = y0 + 70 * SS
    draw.line([(x0 + 2 * SS, rule_y), (x0 + total, rule_y)], fill=EMBER + (255,), width=2 * SS)

    # A hairline frame: the window has no border of its own.
    draw.rectangle((0, 0, w - 1, h - 1), outline=(0x3A, 0x40, 0x4E, 255), width=SS)

    for scale, name in ((1, "Background.png"), (2, "Background@2x.png")):
        result = image.resize((608 * scale, 396 * scale), Image.LANCZOS)
        result.putalpha(255)
        result.save(out / name, optimize=True)


def disc(size_px):
    """The icons' badge: a dark disc with a soft top light, at supersampled size."""
    s = size_px * SS
    badge = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    fill = vertical_gradient((s, s), [(0.0, (0x46, 0x4D, 0x59)), (1.0, (0x16, 0x19, 0x1F))])
    mask = Image.new("L", (s, s), 0)
    ImageDraw.Draw(mask).ellipse((0, 0, s - 1, s - 1), fill=255)
    badge.paste(fill, (0, 0), mask)
    return badge


def icon(out, name, draw_glyph):
    s = 25 * SS
    image = disc(25)
    glyph = Image.new("L", (s, s), 0)
    draw_glyph(ImageDraw.Draw(glyph), s)
    image = Image.composite(Image.new("RGBA", (s, s), INK + (255,)), image,
                            ImageChops.multiply(glyph, image.getchannel("A")))
    clean_alpha(downsample(image, (25, 25))).save(out / name, optimize=True)
    clean_alpha(downsample(image, (50, 50))).save(out / name.replace(".png", "@2x.png"), optimize=True)


def play_glyph(draw, s):
    c = s / 2
    r = s * 0.24
    draw.polygon([(c - r * 0.7, c - r), (c - r * 0.7, c + r), (c + r * 1.05, c)], fill=255)


def settings_glyph(draw, s):
    c = s / 2
    outer, inner, hole, teeth = s * 0.32, s * 0.235, s * 0.095, 8
    points = []
    for i in range(teeth * 4):
        angle = math.pi * 2 * i / (teeth * 4) + math.pi / (teeth * 4)
        r = outer if i % 4 in (1, 2) else inner
        points.append((c + r * math.cos(angle), c + r * math.sin(angle)))
    draw.polygon(points, fill=255)
    draw.ellipse((c - hole, c - hole, c + hole, c + hole), fill=0)


def account_glyph(draw, s):
    c = s / 2
    head = s * 0.115
    draw.ellipse((c - head, s * 0.25, c + head, s * 0.25 + 2 * head), fill=255)
    draw.pieslice((c - s * 0.22, s * 0.53, c + s * 0.22, s * 0.97), 180, 360, fill=255)
    draw.rectangle((0, s * 0.75, s, s), fill=0)


def quit_glyph(draw, s):
    c = s / 2
    r = s * 0.25
    width = round(s * 0.085)
    draw.arc((c - r, c - r + s * 0.03, c + r, c + r + s * 0.03), -55, 235, fill=255, width=width)
    draw.rounded_rectangle((c - width / 2, s * 0.2, c + width / 2, c + s * 0.04), width / 2,
                           fill=255)


def emblem(draw, box, peak_fill, sun_fill):
    """The mountain-and-sun mark of the logo and the program icon."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    sun_r = w * 0.17
    draw.ellipse((x0 + w * 0.62 - sun_r, y0 + h * 0.30 - sun_r,
                  x0 + w * 0.62 + sun_r, y0 + h * 0.30 + sun_r), fill=sun_fill)
    draw.polygon([(x0, y1), (x0 + w * 0.38, y0 + h * 0.18), (x0 + w * 0.56, y0 + h * 0.50),
                  (x0 + w * 0.70, y0 + h * 0.36), (x1, y1)], fill=peak_fill)


def logo(out):
    w, h = 457 * SS, 65 * SS
    image = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    emblem(draw, (4 * SS, 8 * SS, 66 * SS, 56 * SS), SLATE + (255,), EMBER + (255,))
    title_font = font(64 * SS)
    x = 80 * SS
    for c in "VANTORRA":
        draw.text((x, 1 * SS), c, font=title_font, fill=SLATE + (255,))
        x += draw.textlength(c, font=title_font) + 5 * SS
    draw.rectangle((80 * SS, 58 * SS, x - 5 * SS, 60 * SS), fill=EMBER + (255,))
    clean_alpha(downsample(image, (457, 65))).save(out / "Logo.png", optimize=True)
    clean_alpha(downsample(image, (914, 130))).save(out / "Logo@2x.png", optimize=True)


def program_icon(out):
    """A 32x32, 24-bit icon: colour bits bottom-up plus a 1-bit mask for the corners."""
    s = 32 * SS
    image = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle((0, 0, s - 1, s - 1), 6 * SS, fill=(0x14, 0x1B, 0x2B, 255))
    emblem(draw, (4 * SS, 7 * SS, 28 * SS, 27 * SS), INK + (255,), EMBER + (255,))
    small = downsample(image, (32, 32))
    # Edge pixels are blended over the dark face, so they look right on any backdrop
    # without alpha; the mask hides only what is clearly outside.
    face = Image.new("RGB", (32, 32), (0x14, 0x1B, 0x2B))
    face.paste(small, (0, 0), small)
    alpha = small.getchannel("A")

    colour_rows = b""
    for y in reversed(range(32)):
        colour_rows += b"".join(bytes((b, g, r)) for r, g, b in
                                (face.getpixel((x, y)) for x in range(32)))
    mask_rows = b""
    for y in reversed(range(32)):
        bits = 0
        for x in range(32):
            if alpha.getpixel((x, y)) < 96:
                bits |= 1 << (31 - x)
        mask_rows += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 24, 0,
                         len(colour_rows) + len(mask_rows), 0, 0, 0, 0)
    image_data = header + colour_rows + mask_rows
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 0, 0, 1, 24, len(image_data), 6 + 16)
    (out / "Launcher.ico").write_bytes(directory + entry + image_data)


def to_truetype(font_file):
    """Converts CFF outlines to TrueType quadratic outlines."""
    glyph_order = font_file.getGlyphOrder()
    glyph_set = font_file.getGlyphSet()
    glyphs = {}
    for name in glyph_order:
        pen = TTGlyphPen(glyph_set)
        glyph_set[name].draw(Cu2QuPen(pen, max_err=1.0, reverse_direction=True))
        glyphs[name] = pen.glyph()
    font_file["loca"] = newTable("loca")
    glyf = font_file["glyf"] = newTable("glyf")
    glyf.glyphOrder = glyph_order
    glyf.glyphs = glyphs
    del font_file["CFF "]
    font_file["maxp"] = maxp = newTable("maxp")
    maxp.tableVersion = 0x00010000
    for field in ("maxZones", "maxTwilightPoints", "maxStorage", "maxFunctionDefs",
                  "maxInstructionDefs", "maxStackElements", "maxSizeOfInstructions",
                  "maxComponentElements"):
        setattr(maxp, field, 0)
    maxp.maxZones = 1
    post = font_file["post"]
    post.formatType = 2.0
    post.extraNames = []
    post.mapping = {}
    post.glyphOrder = glyph_order
    font_file["head"].glyphDataFormat = 0
    font_file.sfntVersion = "\0\1\0\0"


def display_font(out):
    font_file = TTFont(str(DISPLAY_FONT))
    to_truetype(font_file)
    names = font_file["name"]
    # The original's copyright line carries a control character where "©" belongs.
    copyright_text = names.getDebugName(0).replace("\x04", "\u00a9")
    renamed = {
        0: copyright_text + " Modified Version: outlines converted to TrueType, family renamed.",
        1: "Impact",
        2: "Regular",
        3: "Vantorra: Impact Regular (Bebas Neue Bold, modified)",
        4: "Impact",
        6: "Impact",
        13: "This Font Software is licensed under the SIL Open Font License, Version 1.1.",
        14: "https://openfontlicense.org",
    }
    for record in list(names.names):
        if record.nameID in (16, 17):
            names.removeNames(nameID=record.nameID)
    for name_id, text in renamed.items():
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)
    os2 = font_file["OS/2"]
    os2.usWeightClass = 400
    os2.fsSelection = (os2.fsSelection & ~0b1100001) | 0b1000000  # REGULAR, not bold/italic
    font_file["head"].macStyle = 0
    font_file.save(str(out / "Impact.ttf"))

    licence = SOURCE_LICENCE.read_text(encoding="utf-8")
    start = licence.index("License: OFL-1.1\n This Font Software")
    body = "\n".join(line[1:] if line.startswith(" ") else line
                     for line in licence[start:].splitlines()[1:])
    body = body.replace("\n.\n", "\n\n").replace("\n.", "\n")
    (out / "Impact-LICENSE.txt").write_text(
        "Impact.ttf is a Modified Version of Bebas Neue Bold:\n"
        "the outlines were converted to TrueType and the family renamed to \"Impact\".\n\n"
        f"{copyright_text}\n(Debian package fonts-bebas-neue; upstream https://dharmatype.com/bebas-neue)\n\n"
        + body.strip() + "\n", encoding="utf-8")


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "resources"
    background(out)
    for name, glyph in (("Play.png", play_glyph), ("Settings.png", settings_glyph),
                        ("Account.png", account_glyph), ("Quit.png", quit_glyph)):
        icon(out, name, glyph)
    logo(out)
    program_icon(out)
    display_font(out)


if __name__ == "__main__":
    main()
