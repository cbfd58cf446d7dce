#!/usr/bin/python3
"""Makes the small TrueType fonts the details tests read: make_fonts.py FOLDER.

Every glyph of the sample line is a bar whose height tells which character it stands for, so a
picture of the sample shows at once whether these glyphs or another font's were drawn. Advances
are whole pixels at 12 and 18 points on a 96 dpi screen (16 and 24 pixels to the em).
"""
import sys
from pathlib import Path

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

SAMPLE = "The quick brown fox jumps over the lazy dog 0123456789"
UNITS_PER_EM = 48
ADVANCE = 18
ENGLISH, GREEK, RUSSIAN = 0x409, 0x408, 0x419


def box(x_min, y_min, x_max, y_max):
    # Corners and the middle of each side: steps between points must fit in 16 bits.
    x_mid, y_mid = (x_min + x_max) // 2, (y_min + y_max) // 2
    pen = TTGlyphPen(None)
    pen.moveTo((x_min, y_min))
    for point in [(x_min, y_mid), (x_min, y_max), (x_mid, y_max), (x_max, y_max),
                  (x_max, y_mid), (x_max, y_min), (x_mid, y_min)]:
        pen.lineTo(point)
    pen.closePath()
    return pen.glyph()


def build(names, extra_glyphs=None, features=None, advance=ADVANCE, ascent=40):
    """names: (family, style, language id) records on the Windows platform."""
    letters = sorted(set(SAMPLE) - {" "})
    order = [".notdef", "space"] + [f"g{ord(c)}" for c in letters]
    glyphs = {".notdef": box(2, 0, 16, 30), "space": TTGlyphPen(None).glyph()}
    for c in letters:
        glyphs[f"g{ord(c)}"] = box(2, 0, 14, 4 + ord(c) % 23)
    glyphs.update(extra_glyphs or {})
    order += [name for name in extra_glyphs or {} if name not in order]
    font = FontBuilder(UNITS_PER_EM, isTTF=True)
    font.setupGlyphOrder(order)
    font.setupCharacterMap({ord(" "): "space", **{ord(c): f"g{ord(c)}" for c in letters}})
    font.setupGlyf(glyphs)
    glyf = font.font["glyf"]
    font.setupHorizontalMetrics(
        {name: (advance, getattr(glyf[name], "xMin", 0)) for name in order})
    font.setupHorizontalHeader(ascent=ascent, descent=-10)
    font.setupNameTable({"psName": "KestrixTest-Regular"}, mac=False)
    table = font.font["name"]
    for family, style, language in names:
        table.setName(family, 1, 3, 1, language)
        table.setName(style, 2, 3, 1, language)
        table.setName(f"{family} {style}", 4, 3, 1, language)
    font.setupOS2(sTypoAscender=40, sTypoDescender=-10, usWinAscent=40, usWinDescent=10)
    font.setupPost()
    if features:
        font.addOpenTypeFeatures(features)
    return font


def wide_glyphs(name, x_min, y_min):
    """A font whose every letter is a bar about a hundred times wider than its advance."""
    letters = sorted(set(SAMPLE) - {" "})
    bar = {f"g{ord(c)}": box(x_min, y_min, x_min + 1900, y_min + 4000) for c in letters}
    return build([(name, "Regular", ENGLISH)], bar)


def slow_drawing():
    """A font whose every letter is one zigzag of a thousand teeth, each far taller than a line:
    the engine takes minutes to draw its sample, and reads its names at once."""
    pen = TTGlyphPen(None)
    pen.moveTo((0, 0))
    for tooth in range(1000):
        pen.lineTo((tooth % 2 * 16, 4000 * (1 - tooth % 2)))
    pen.closePath()
    zigzag = pen.glyph()
    letters = {}
    for c in sorted(set(SAMPLE) - {" "}):
        pen = TTGlyphPen({"zigzag": zigzag})
        pen.addComponent("zigzag", (1, 0, 0, 1, 0, 0))
        letters[f"g{ord(c)}"] = pen.glyph()
    return build([("Slow Drawing", "Regular", ENGLISH)], {"zigzag": zigzag, **letters})


def main(folder):
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    fonts = {
        # Says it is the installed DejaVu Sans, holds other glyphs.
        "impostor.ttf": build([("DejaVu Sans", "Book", ENGLISH)]),
        "cyrillic-only.ttf": build([("Проба", "Обычный", RUSSIAN)]),
        "three-languages.ttf": build(
            [("Δοκιμή", "Κανονικά", GREEK), ("Sample", "Regular", ENGLISH),
             ("Образец", "Обычный", RUSSIAN)]),
        "greek-and-english.ttf": build(
            [("Δοκιμή", "Κανονικά", GREEK), ("Sample", "Regular", ENGLISH)]),
        # Harmless glyphs, until shaping turns every "T" into one far larger than any screen.
        "shaping-bomb.ttf": build(
            [("Shaping Bomb", "Regular", ENGLISH)],
            {"huge": box(-32767, -32767, 32767, 32767)},
            "feature liga { sub g84 by huge; } liga;"),
        # Samples of these, drawn wider than 2048 device pixels, once overflowed a buffer of the
        # engine's.
        "wide-glyphs-up.ttf": wide_glyphs("Wide Glyphs Up", 0, 0),
        "wide-glyphs-down.ttf": wide_glyphs("Wide Glyphs Down", -950, -4000),
        "wide-glyphs-across.ttf": wide_glyphs("Wide Glyphs Across", 0, -2000),
        "slow-drawing.ttf": slow_drawing(),
        # Letters ten ems wide on lines a hundred ems tall: each word on a line of its own, as
        # tall as a line may be, makes a sample taller than a screen.
        "tall-sample.ttf": build([("Tall Sample", "Regular", ENGLISH)], advance=480, ascent=4800),
    }
    for name, font in fonts.items():
        font.save(str(folder / name))


if __name__ == "__main__":
    main(sys.argv[1])
