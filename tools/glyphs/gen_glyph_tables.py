#!/usr/bin/env python3
"""Writes src/drawing/GlyphTables.cpp, the stroke-font glyph tables.

Letters, digits and most punctuation are converted from the Hershey simplex Roman and Greek
fonts (Debian package hershey-fonts-data, /usr/share/hershey-fonts/futural.jhf and greeks.jhf;
see docs/HERSHEY-ACKNOWLEDGEMENT.txt): each glyph is scaled onto the 36-unit capital grid,
centred in the 28-unit glyph box, its curves thinned to a few segments, and small dots replaced
by the 4 x 4 unit square dot. The fixed example glyphs, the dots, commas and quotes, the special
symbols, the tall delimiters and the accents are drawn by hand below on the same grid.

Run:  python3 tools/glyphs/gen_glyph_tables.py [HERSHEY_DIR] > src/drawing/GlyphTables.cpp
The build uses only the generated file.
"""
import math
import sys

HERSHEY_DIR = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/hershey-fonts"
NO_GLYPH = "      "


def parse_jhf(path):
    text = open(path, encoding="latin-1").read().split("\n")
    records, cur = [], ""
    for line in text:
        if not line:
            continue
        if cur and len(cur) - 8 >= 2 * int(cur[5:8]):
            records.append(cur)
            cur = line
        else:
            cur += line
    if cur:
        records.append(cur)
    glyphs = []
    for r in records:
        n = int(r[5:8])
        body = r[10:10 + 2 * (n - 1)]
        strokes, s = [], []
        for i in range(0, len(body), 2):
            if body[i:i + 2] == " R":
                if s:
                    strokes.append(s)
                s = []
            else:
                s.append((ord(body[i]) - 82, ord(body[i + 1]) - 82))
        if s:
            strokes.append(s)
        glyphs.append(strokes)
    return glyphs


def dp_simplify(pts, tol):
    """Douglas-Peucker thinning of one polyline."""
    if len(pts) < 3:
        return pts
    a, b = pts[0], pts[-1]
    best, idx = -1.0, 0
    for i in range(1, len(pts) - 1):
        p = pts[i]
        if a == b:
            d = math.hypot(p[0] - a[0], p[1] - a[1])
        else:
            d = abs((b[0] - a[0]) * (a[1] - p[1]) - (a[0] - p[0]) * (b[1] - a[1])) / math.hypot(
                b[0] - a[0], b[1] - a[1])
        if d > best:
            best, idx = d, i
    if best <= tol:
        return [a, b]
    left = dp_simplify(pts[:idx + 1], tol)
    right = dp_simplify(pts[idx:], tol)
    return left[:-1] + right


def square_dot(cx, cy):
    """The 4 x 4 unit dot of the period, as four segments around (cx, cy)."""
    x0, x1, y0, y1 = cx - 2, cx + 2, cy - 2, cy + 2
    return [[(x1, y0), (x0, y0), (x0, y1), (x1, y1), (x1, y0)]]


def convert(strokes, kind, tol=0.55):
    """Hershey strokes (y down, baseline 9) to grid polylines (y up, baseline 0)."""
    def gy(y):
        h = 9 - y
        if kind == "lower":
            if h > 14:
                return 22 + (h - 14) * 2.0  # ascenders up to the capital height
            if h < 0:
                return h * 10.0 / 7.0  # descenders down to -10
            return h * 22.0 / 14.0
        return h * 36.0 / 21.0

    sx = 22.0 / 14.0 if kind == "lower" else 36.0 / 21.0
    xs = [p[0] for s in strokes for p in s]
    if not xs:
        return []
    xmin, xmax = min(xs), max(xs)
    width = (xmax - xmin) * sx
    if width > 30:
        sx *= 30.0 / width
    xc = (xmin + xmax) / 2.0
    out = []
    for s in strokes:
        sxs = [p[0] for p in s]
        sys_ = [p[1] for p in s]
        if len(s) >= 4 and s[0] == s[-1] and max(sxs) - min(sxs) <= 2 and max(sys_) - min(sys_) <= 2:
            cx = round(14 + ((min(sxs) + max(sxs)) / 2.0 - xc) * sx)
            cy = round(gy((min(sys_) + max(sys_)) / 2.0))
            if kind == "lower" and cy > 22:
                cy = 30  # the dots of i and j sit above the x-height, below the ascenders
            out += square_dot(cx, max(cy, 2))
            continue
        pts = [(14 + (x - xc) * sx, gy(y)) for x, y in s]
        pts = dp_simplify(pts, tol)
        out.append([(round(x), round(y)) for x, y in pts])
    return out


def mirror(polys, axis=28):
    return [[(axis - x, y) for x, y in p] for p in polys]


def shift(polys, dx=0, dy=0):
    return [[(x + dx, y + dy) for x, y in p] for p in polys]


def segments(polys):
    segs = []
    for p in polys:
        for i in range(len(p) - 1):
            a, b = p[i], p[i + 1]
            seg = (a[0], a[1], b[0], b[1])
            if a == b and len(p) > 2:
                continue
            if seg in segs or (b[0], b[1], a[0], a[1]) in segs:
                continue
            segs.append(seg)
    return segs


def encode(polys):
    segs = segments(polys)
    if not segs:
        return ""
    out = []
    for x1, y1, x2, y2 in segs:
        for v, org in ((x1, 65), (y1, 60), (x2, 65), (y2, 60)):
            code = v + org
            assert 1 <= code <= 255, (v, org)
            out.append(code)
    return bytes(out)


def c_literal(b):
    if isinstance(b, str):
        b = b.encode("latin-1")
    s = []
    for c in b:
        ch = chr(c)
        if 32 <= c < 127 and ch not in "\"\\?":
            s.append(ch)
        else:
            s.append("\\%03o" % c)
    return '"' + "".join(s) + '"sv'


# Hand-drawn glyphs, as polylines in grid units.
FIXED = {
    "A": [[(0, 0), (12, 36), (16, 36), (28, 0)], [(4, 12), (24, 12)]],
    "x": [[(4, 22), (24, 0)], [(4, 0), (24, 22)]],
    "1": [[(8, 0), (18, 0)], [(13, 0), (13, 36), (8, 31)]],
    ".": [[(15, 0), (11, 0), (11, 4), (15, 4), (15, 0)]],
    "-": [[(0, 16), (28, 16)]],
}
GREEK_FIXED = {
    "G": [[(2, 0), (6, 0)], [(4, 0), (4, 36), (24, 36), (24, 32)]],
}
DOT = lambda cx, cy: square_dot(cx, cy)
SHARED_HAND = {
    ",": DOT(13, 2) + [[(15, 0), (11, -8)]],
    ";": DOT(13, 2) + [[(15, 0), (11, -8)]] + DOT(13, 20),
    ":": DOT(13, 2) + DOT(13, 20),
    "'": DOT(13, 34) + [[(15, 32), (11, 24)]],
    "`": DOT(13, 34) + [[(11, 32), (15, 24)]],
    "[": [[(20, 43), (10, 43), (10, -12), (20, -12)]],
    "]": [[(8, 43), (18, 43), (18, -12), (8, -12)]],
    "+": [[(0, 16), (28, 16)], [(14, 2), (14, 30)]],
    "=": [[(0, 10), (28, 10)], [(0, 22), (28, 22)]],
    "_": [[(0, -6), (28, -6)]],
    "|": [[(14, 43), (14, -12)]],
    "{": [[(19, 43), (15, 41), (13, 37), (13, 20), (11, 17), (7, 16), (11, 15), (13, 12), (13, -5),
           (15, -10), (19, -12)]],
    "~": [[(2, 13), (5, 17), (9, 19), (12, 18), (16, 14), (19, 13), (23, 15), (26, 19)]],
}
SHARED_HAND["}"] = mirror(SHARED_HAND["{"])

# Special symbols after Ctrl-A, by upper-case key.
SPECIAL = {
    "D": [[(0, 36), (28, 36), (14, 0), (0, 36)]],
    "R": [[(0, 18), (4, 22), (12, 0), (24, 44), (52, 44)]],
    "S": [[(44, 46), (44, 54), (0, 54), (24, 18), (0, -18), (44, -18), (44, -10)]],
    "T": [[(0, 26), (6, 32), (20, -36), (40, 90), (72, 90)]],
    "I": [[(30, 66), (27, 71), (23, 72), (20, 70), (18, 64), (10, -28), (8, -34), (5, -36),
           (1, -35), (-2, -30)]],
}

# Tall delimiters after Ctrl-B: three capital heights, -36 to 72.
TALL = {
    "(": [[(22, 72), (15, 62), (10, 48), (7, 18), (10, -12), (15, -26), (22, -36)]],
    "[": [[(22, 72), (10, 72), (10, -36), (22, -36)]],
    "|": [[(14, -36), (14, 72)]],
}
TALL[")"] = mirror(TALL["("])
TALL["]"] = mirror(TALL["["])

# Accents after Ctrl-P, low position (above the x-height); the high one is 13 units higher.
ACCENTS = {
    "'": [[(12, 25), (18, 31)]],
    "`": [[(16, 25), (10, 31)]],
    "^": [[(8, 25), (14, 31), (20, 25)]],
    "~": [[(7, 26), (10, 29), (13, 29), (16, 26), (19, 26), (22, 29)]],
    "_": [[(7, 28), (21, 28)]],
    ".": DOT(14, 27),
    "E": DOT(8, 27) + DOT(20, 27),
    "C": [[(8, 31), (14, 25), (20, 31)]],
    "S": [[(14, 0), (14, -3), (18, -5), (18, -8), (14, -10), (10, -9)]],
}
ACCENT_KEYS = "'`^~_.ECS"

# Hershey Greek simplex keys for each of our keys.
GREEK_LOWER = {"a": "a", "b": "b", "c": "v", "d": "d", "e": "e", "f": "u", "g": "c", "h": "g",
               "i": "i", "j": "w", "k": "j", "l": "k", "m": "l", "n": "m", "o": "o", "p": "p",
               "q": "x", "r": "q", "s": "r", "t": "s", "u": "t", "w": "t", "y": "t", "v": "h",
               "x": "n", "z": "f"}
GREEK_UPPER = {"D": "D", "F": "U", "J": "W", "L": "K", "P": "P", "Q": "X", "S": "R", "V": "H",
               "X": "N"}


def build():
    roman = parse_jhf(HERSHEY_DIR + "/futural.jhf")
    greek = parse_jhf(HERSHEY_DIR + "/greeks.jhf")
    mathupp = parse_jhf(HERSHEY_DIR + "/mathupp.jhf")
    get = lambda font, ch: font[ord(ch) - 32]

    def letter(font, key, ch):
        kind = "lower" if key.islower() else "upper"
        return convert(get(font, ch), kind)

    roman_tab, greek_tab = [], []
    for ch in [chr(c) for c in range(65, 91)] + [chr(c) for c in range(97, 123)]:
        r = FIXED.get(ch) or letter(roman, ch, ch)
        roman_tab.append(encode(r))
        if ch in GREEK_FIXED:
            g = GREEK_FIXED[ch]
        elif ch.islower():
            g = letter(greek, ch, GREEK_LOWER[ch])
        elif ch in GREEK_UPPER:
            g = letter(greek, ch, GREEK_UPPER[ch])
        else:
            g = r
        greek_tab.append(encode(g))

    shared = []
    for c in range(32, 127):
        ch = chr(c)
        if ch == " ":
            shared.append("")
        elif ch.isalpha():
            shared.append(NO_GLYPH)
        elif ch in FIXED:
            shared.append(encode(FIXED[ch]))
        elif ch in SHARED_HAND:
            shared.append(encode(SHARED_HAND[ch]))
        elif ch == "@":
            # Drop the second, thickening strokes of the inner "a".
            at = get(roman, ch)
            shared.append(encode(convert([at[0], at[2]], "upper")))
        else:
            shared.append(encode(convert(get(roman, ch), "upper")))

    special = SPECIAL.copy()
    # Infinity and partial derivative from the Hershey mathematical set (main strokes only).
    special["F"] = shift(convert(get(mathupp, "_")[:1], "upper"), 4, 0)
    special["P"] = convert([get(mathupp, "m")[0][:-3]], "upper")

    letters = [chr(c) for c in range(65, 91)] + [chr(c) for c in range(97, 123)]
    return {
        "kRomanGlyphs": (roman_tab, letters),
        "kGreekGlyphs": (greek_tab, letters),
        "kSharedGlyphs": (shared, ["blank" if c == 32 else chr(c) for c in range(32, 127)]),
        "kSpecialGlyphs": ([encode(special[k]) if k in special else NO_GLYPH
                            for k in map(chr, range(65, 91))], list(map(chr, range(65, 91)))),
        "kTallGlyphs": ([encode(TALL[k]) for k in "()[]|"], list("()[]|")),
        "kAccentLowGlyphs": ([encode(ACCENTS[k]) for k in ACCENT_KEYS], list(ACCENT_KEYS)),
        "kAccentHighGlyphs": ([encode(ACCENTS[k] if k == "S" else shift(ACCENTS[k], 0, 13))
                               for k in ACCENT_KEYS], list(ACCENT_KEYS)),
    }


def main():
    tables = build()
    w = sys.stdout.write
    w("// Generated by tools/glyphs/gen_glyph_tables.py: do not edit by hand.\n")
    w("// Letter, digit and punctuation shapes derive from the Hershey fonts; see\n")
    w("// docs/HERSHEY-ACKNOWLEDGEMENT.txt.\n")
    w("// Each glyph is a list of segments x1 y1 x2 y2, one byte each: x = code - 65, y = code - 60.\n\n")
    w('#include "drawing/GlyphTables.h"\n\n// clang-format off\nnamespace plotane::glyphs {\n\nusing namespace std::literals;\n\n')

    def table(name, entries, labels):
        w("const std::string_view %s[%d] = {\n" % (name, len(entries)))
        for lab, e in zip(labels, entries):
            w("    %s,  // %s\n" % (c_literal(e), "backslash" if lab == "\\" else lab))
        w("};\n\n")

    for name, (entries, labels) in tables.items():
        table(name, entries, labels)
    w("}  // namespace plotane::glyphs\n// clang-format on\n")


if __name__ == "__main__":
    main()
