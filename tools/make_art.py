#!/usr/bin/env python3
"""Draws every picture the resource compiler pulls in (icon, banner frames,
mascot, speech balloon) and writes them as plain Windows BMP/ICO files.

Only integers are used for geometry and colour so that the files come out
byte-identical on every machine; a rebuild must never show up as a diff.

    python3 tools/make_art.py [--out DIR]      (default: the repo's res/)
"""
import argparse
import os
import struct

GREEN = (0, 255, 0)       # colour key: cut away by the program at run time
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
CREAM = (255, 251, 240)

# Windows' 16-colour palette; the icon uses it as is.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
         (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
         (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
         (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

# 4x4 ordered dither, so a dozen shades read as a smooth sphere.
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]

# round(4096 * cos/sin) for the tilt of the lettering on the rolling ball;
# kept as literals because libm may differ in the last bit between hosts.
COS_SIN = {-15: (3956, -1060), -9: (4046, -641), -3: (4090, -214),
           3: (4090, 214), 9: (4046, 641), 15: (3956, 1060)}


# ---------------------------------------------------------------- canvas ---

class Canvas:
    """RGB pixels, row 0 at the top (the BMP writer flips it)."""

    def __init__(self, w, h, colour):
        self.w, self.h = w, h
        self.px = [[colour] * w for _ in range(h)]

    def put(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = colour

    def get(self, x, y):
        return self.px[y][x]

    def paint(self, mask, colour):
        for x, y in mask:
            self.put(x, y, colour)


def lerp(c0, c1, i, n):
    """Colour i of n+1 steps from c0 to c1, rounded half up."""
    return tuple(a + ((b - a) * 2 * i + n) // (2 * n) for a, b in zip(c0, c1))


def ramp(stops, n):
    """n colours spread evenly over a list of colour stops."""
    out = []
    for i in range(n):
        pos = i * (len(stops) - 1)
        k, rem = divmod(pos, n - 1) if n > 1 else (0, 0)
        if k >= len(stops) - 1:
            out.append(stops[-1])
        else:
            out.append(lerp(stops[k], stops[k + 1], rem, n - 1))
    return out


def ellipse(left, top, w, h):
    """Pixels whose centres fall inside the ellipse filling this box.
    Worked in half-pixel units so odd and even sizes stay symmetric."""
    cx2, cy2 = 2 * left + w, 2 * top + h
    pts = set()
    for y in range(top, top + h):
        dy = 2 * y + 1 - cy2
        for x in range(left, left + w):
            dx = 2 * x + 1 - cx2
            if dx * dx * h * h + dy * dy * w * w <= w * w * h * h:
                pts.add((x, y))
    return pts


def disc(cx, cy, r):
    """Disc centred on pixel (cx, cy), 2r+1 pixels across."""
    return ellipse(cx - r, cy - r, 2 * r + 1, 2 * r + 1)


def rounded_rect(left, top, w, h, r):
    """Box with its corners rounded by quarter discs of radius r."""
    corners = set()
    for cl in (left, left + w - 2 * r):
        for ct in (top, top + h - 2 * r):
            corners |= ellipse(cl, ct, 2 * r, 2 * r)
    pts = set()
    for y in range(top, top + h):
        for x in range(left, left + w):
            in_corner = ((x < left + r or x >= left + w - r)
                         and (y < top + r or y >= top + h - r))
            if not in_corner or (x, y) in corners:
                pts.add((x, y))
    return pts


def rim(mask):
    """Pixels of mask with a 4-neighbour outside it: a one-pixel outline
    that never leaves a diagonal gap."""
    return {(x, y) for x, y in mask
            if not {(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)} <= mask}


def grow(mask):
    """Mask plus its 8-neighbours: used for thick lettering outlines."""
    return {(x + dx, y + dy) for x, y in mask
            for dx in (-1, 0, 1) for dy in (-1, 0, 1)}


def shift(mask, dx, dy):
    return {(x + dx, y + dy) for x, y in mask}


def shade_sphere(canvas, mask, lx, ly, radius, shades):
    """Lit from (lx, ly): the shade index grows with distance from the light,
    dithered so the bands melt into each other."""
    n = len(shades)
    span = 4 * radius * radius
    for x, y in mask:
        d2 = (x - lx) ** 2 + (y - ly) ** 2
        level = (d2 * n * 16 // span + BAYER[y % 4][x % 4] - 8) // 16
        canvas.put(x, y, shades[max(0, min(n - 1, level))])


# ------------------------------------------------------------------ font ---

# A hand-drawn 7-row font with just the letters the artwork spells.
# Lower case sits on rows 2..6; widths vary so "m" can breathe.
GLYPHS = {
    'B': ["###..", "#..#.", "#..#.", "####.", "#...#", "#...#", "####."],
    'V': ["#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."],
    'a': ["....", "....", ".##.", "...#", ".###", "#..#", ".###"],
    'k': ["#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#"],
    'm': [".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"],
    'o': ["....", "....", ".##.", "#..#", "#..#", "#..#", ".##."],
    't': [".#..", ".#..", "####", ".#..", ".#..", ".#..", "..##"],
    'u': ["....", "....", "#..#", "#..#", "#..#", "#..#", ".###"],
    'z': ["....", "....", "####", "..#.", ".#..", "#...", "####"],
    '6': [".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."],
    ' ': ["..", "..", "..", "..", "..", "..", ".."],
}


def text_grid(text):
    """Text as a list of 7 rows of booleans, one blank column between glyphs."""
    rows = [[] for _ in range(7)]
    for i, ch in enumerate(text):
        for r in range(7):
            if i:
                rows[r].append(False)
            rows[r].extend(c == '#' for c in GLYPHS[ch][r])
    return rows


def scale2x(grid):
    """Doubles a bitmap while rounding off its stair steps (EPX rules)."""
    h, w = len(grid), len(grid[0])
    g = lambda x, y: grid[y][x] if 0 <= x < w and 0 <= y < h else False
    out = [[False] * (2 * w) for _ in range(2 * h)]
    for y in range(h):
        for x in range(w):
            e, b, d, f, hh = g(x, y), g(x, y - 1), g(x - 1, y), g(x + 1, y), g(x, y + 1)
            out[2 * y][2 * x] = d if (b == d and b != f and d != hh) else e
            out[2 * y][2 * x + 1] = f if (b == f and b != d and f != hh) else e
            out[2 * y + 1][2 * x] = d if (d == hh and d != b and hh != f) else e
            out[2 * y + 1][2 * x + 1] = f if (hh == f and d != hh and b != f) else e
    return out


def scale3x(grid):
    """Triples a bitmap, filling diagonal joints instead of leaving steps."""
    h, w = len(grid), len(grid[0])
    g = lambda x, y: grid[y][x] if 0 <= x < w and 0 <= y < h else False
    out = [[False] * (3 * w) for _ in range(3 * h)]
    for y in range(h):
        for x in range(w):
            a, b, c = g(x - 1, y - 1), g(x, y - 1), g(x + 1, y - 1)
            d, e, f = g(x - 1, y), g(x, y), g(x + 1, y)
            gg, hh, i = g(x - 1, y + 1), g(x, y + 1), g(x + 1, y + 1)
            cell = [e] * 9
            if b != hh and d != f:
                cell[0] = d if d == b else e
                cell[1] = b if (d == b and e != c) or (b == f and e != a) else e
                cell[2] = f if b == f else e
                cell[3] = d if (d == b and e != gg) or (d == hh and e != a) else e
                cell[5] = f if (b == f and e != i) or (hh == f and e != c) else e
                cell[6] = d if d == hh else e
                cell[7] = hh if (d == hh and e != i) or (hh == f and e != gg) else e
                cell[8] = f if hh == f else e
            for k in range(9):
                # only ever add ink: cutting the outer corners too turns
                # a B into an 8 at this size
                out[3 * y + k // 3][3 * x + k % 3] = cell[k] or e
    return out


def grid_mask(grid, left, top):
    return {(left + x, top + y) for y, row in enumerate(grid)
            for x, on in enumerate(row) if on}


def rolled_text(text, cx, cy, angle):
    """Lettering centred on pixel (cx, cy) whose baseline is turned by angle
    degrees (clockwise on screen).  The glyphs themselves stay upright and
    pixel-aligned - turned 1x pixel letters stop being readable - and only
    climb or drop along the turned baseline."""
    c, s = COS_SIN[angle]
    widths = [len(GLYPHS[ch][0]) for ch in text]
    total = sum(widths) + len(widths) - 1
    pts, left = set(), -total          # left edge, in half pixels from cx
    for ch, w in zip(text, widths):
        mid = left + w                 # glyph centre, half pixels
        dy = (mid * s + c) // (2 * c)  # rounded tan(angle) * distance
        x0, y0 = cx + (left + 1) // 2, cy - 3 + dy
        for r, line in enumerate(GLYPHS[ch]):
            pts |= {(x0 + i, y0 + r) for i, on in enumerate(line) if on == '#'}
        left += 2 * (w + 1)
    return pts


# --------------------------------------------------------------- writers ---

def index_image(canvas, fixed=None, size=256):
    """Palette of the colours actually used (first seen first), with some
    colours pinned to given slots; padded with black up to size."""
    fixed = fixed or {}
    table = [None] * size
    lookup = {}
    for i, col in fixed.items():
        table[i] = col
        lookup[col] = i
    free = (i for i in range(size) if table[i] is None)
    for row in canvas.px:
        for col in row:
            if col not in lookup:
                slot = next(free, None)
                if slot is None:
                    raise ValueError('more than %d colours' % size)
                table[slot] = col
                lookup[col] = slot
    table = [col if col is not None else BLACK for col in table]
    return table, [[lookup[col] for col in row] for row in canvas.px]


def pack_rows(indices, bpp):
    """Bottom-up pixel rows, each padded to four bytes."""
    out = bytearray()
    for row in reversed(indices):
        if bpp == 8:
            line = bytes(row)
        else:
            pairs = row + [0] * (len(row) % 2)
            line = bytes(pairs[i] << 4 | pairs[i + 1] for i in range(0, len(pairs), 2))
        out += line + bytes(-len(line) % 4)
    return out


def info_header(w, h, bpp, image_size):
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, 0, image_size,
                       2835, 2835, 0, 0)


def colour_table(table):
    return b''.join(bytes((b, g, r, 0)) for r, g, b in table)


def bmp_bytes(table, indices, bpp):
    h, w = len(indices), len(indices[0])
    bits = pack_rows(indices, bpp)
    head = info_header(w, h, bpp, len(bits)) + colour_table(table)
    off = 14 + len(head)
    return struct.pack('<2sIHHI', b'BM', off + len(bits), 0, 0, off) + head + bits


def ico_bytes(table, indices, transparent):
    """A one-image icon: 4-bit colour bits followed by the AND mask."""
    h, w = len(indices), len(indices[0])
    xor = pack_rows(indices, 4)
    and_rows = []
    for y in reversed(range(h)):
        line = bytearray(-(-w // 32) * 4)
        for x in range(w):
            if (x, y) in transparent:
                line[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(bytes(line))
    mask = b''.join(and_rows)
    image = (info_header(w, 2 * h, 4, len(xor) + len(mask))
             + colour_table(table) + xor + mask)
    return (struct.pack('<HHH', 0, 1, 1)
            + struct.pack('<BBBBHHII', w, h, 16, 0, 1, 4, len(image), 22)
            + image)


# ------------------------------------------------------------- pictures ---

def draw_icon():
    """32x32 red mascot ball in the 16 standard colours."""
    red, maroon, white, black = VGA16[9], VGA16[1], VGA16[15], VGA16[0]
    c = Canvas(32, 32, black)
    ball = ellipse(1, 1, 30, 30)
    # light from the upper left; the far side falls into dithered maroon
    shade_sphere(c, ball, 10, 9, 13, [red, red, maroon])
    c.paint(rim(ball), maroon)
    c.paint(ellipse(6, 5, 7, 4), white)
    c.put(14, 5, white)
    for ex in (11, 18):
        c.paint(ellipse(ex, 11, 4, 7), black)
        c.put(ex + 1, 12, white)
    c.paint({(x, 22) for x in range(13, 19)} | {(12, 21), (19, 21)}, black)
    transparent = {(x, y) for y in range(32) for x in range(32)} - ball
    table, indices = index_image(c, {i: col for i, col in enumerate(VGA16)}, 16)
    return ico_bytes(table, indices, transparent)


def draw_mascot():
    """90x80 mascot on colour-key green.  The window is shaped from the
    non-green pixels, so the silhouette (ball + shadow) is exact to the
    pixel: the ball is a little squashed as if resting its weight, and the
    shadow falls to the lower right, away from the light."""
    c = Canvas(90, 80, GREEN)
    ball = ellipse(5, 4, 80, 74)
    shadow = ellipse(22, 69, 67, 11)
    # a notch where the ball's reflected light breaks the shadow's edge,
    # and one pixel more under it: the window region code expects this
    # exact outline (77 runs, 4954 solid pixels)
    shadow -= {(x, 78) for x in range(54, 60)}
    shadow.add((41, 79))
    c.paint(shadow, (60, 90, 200))
    c.paint(ellipse(30, 71, 50, 7) & shadow, (35, 55, 150))

    shades = ramp([(255, 96, 86), (236, 24, 28), (214, 10, 20), (186, 4, 16),
                   (120, 0, 14)], 13)
    shade_sphere(c, ball, 26, 16, 34, shades)
    c.paint(rim(ball), (80, 0, 10))

    # glossy highlight: a soft pink halo around a white spot, plus a glint
    c.paint((ellipse(15, 11, 20, 11) & ball) - rim(ball), (255, 170, 165))
    c.paint(ellipse(17, 12, 15, 8), WHITE)
    c.paint({(35, 12), (36, 11), (36, 12), (36, 13), (37, 12)}, WHITE)

    # eyes look right, towards the speech balloon
    for ex in (29, 49):
        c.paint(ellipse(ex, 19, 12, 16), (60, 0, 10))
        c.paint(ellipse(ex + 1, 20, 10, 14), WHITE)
        c.paint(ellipse(ex + 4, 23, 6, 10), BLACK)
        c.paint({(ex + 5, 24), (ex + 6, 24), (ex + 5, 25)}, WHITE)
    for cx in (24, 62):
        c.paint(ellipse(cx, 35, 8, 4), (250, 110, 120))
    smile = {(x, y) for x, y in rim(ellipse(37, 27, 18, 12)) if y >= 35}
    c.paint(smile | shift(smile, 0, -1), (70, 0, 10))

    word = grid_mask(scale2x(text_grid('Bamzo')), 19, 44)
    c.paint(shift(word, 1, 1), (110, 0, 15))
    c.paint(word, CREAM)

    table, indices = index_image(c, {74: GREEN})
    return bmp_bytes(table, indices, 8)


def vertical_gradient(canvas, top_colour, bottom_colour, step=2):
    """Fills the canvas in bands of `step` rows; bands keep the palette
    small enough for 8-bit frames."""
    bands = (canvas.h + step - 1) // step
    for y in range(canvas.h):
        colour = lerp(top_colour, bottom_colour, y // step, bands - 1)
        canvas.px[y] = [colour] * canvas.w


def draw_title():
    """Banner frame 0: the program's name in outlined light-blue letters."""
    c = Canvas(250, 50, BLACK)
    vertical_gradient(c, (128, 12, 28), (58, 0, 12))
    for centre, radius in (((38, 36), 25), ((212, 12), 19)):
        d = disc(centre[0], centre[1], radius)
        c.paint(d, (176, 206, 242))
        c.paint(rim(d), (214, 232, 252))
    grid = scale3x(text_grid('Bamzo to Vuka6'))
    left, top = (250 - len(grid[0])) // 2, (50 - len(grid)) // 2
    word = grid_mask(grid, left, top)
    outline = grow(grow(word))
    c.paint(shift(outline, 2, 2), (40, 0, 8))
    c.paint(outline, (18, 46, 112))
    for y in range(top, top + len(grid)):
        colour = lerp((226, 244, 255), (112, 178, 246), y - top, len(grid) - 1)
        c.paint({(x, yy) for x, yy in word if yy == y}, colour)
    table, indices = index_image(c)
    return bmp_bytes(table, indices, 8)


# Frames 1..6: where the ball stands, the sky behind it (hue turning a
# sixth of the wheel per frame) and how far the lettering has rolled.
BALL_FRAMES = [
    (30, (255, 224, 120), (250, 150, 60), -15),
    (66, (226, 246, 130), (120, 196, 76), -9),
    (110, (160, 240, 210), (40, 160, 150), -3),
    (152, (170, 220, 255), (56, 120, 220), 3),
    (183, (214, 190, 255), (120, 84, 206), 9),
    (222, (255, 190, 230), (208, 84, 166), 15),
]


def draw_ball_frame(cx, sky_top, sky_bottom, angle):
    """The mascot ball rolling along the banner."""
    c = Canvas(250, 50, BLACK)
    vertical_gradient(c, sky_top, sky_bottom)
    c.paint(ellipse(cx - 14, 39, 36, 9), (52, 72, 176))
    c.paint(ellipse(cx - 9, 41, 26, 5), (30, 42, 130))
    ball = ellipse(cx - 18, 5, 37, 37)
    shades = ramp([(255, 80, 72), (232, 22, 26), (200, 8, 18), (128, 0, 14)], 10)
    shade_sphere(c, ball, cx - 8, 13, 19, shades)
    c.paint(rim(ball), (100, 0, 12))
    c.paint(ellipse(cx - 13, 9, 11, 6), (255, 170, 165))
    c.paint(ellipse(cx - 12, 10, 8, 4), WHITE)
    c.put(cx - 2, 9, WHITE)
    c.paint(rolled_text('Bamzo', cx, 24, angle) & ball, WHITE)
    table, indices = index_image(c)
    return bmp_bytes(table, indices, 8)


# First column of the balloon's tail in rows 74..81: its upper edge curves
# down into a blunt tip that touches the window's left edge, and the bottom
# edge runs straight back into the body.
TAIL_START = [13, 8, 4, 1, 0, 0, 0, 0]


def draw_balloon():
    """284x96 speech balloon, 16 colours: cream body, black outline, key
    green outside.  The program shapes its window from the non-green
    pixels and writes into (35,12)-(274,86), which stays plain cream."""
    c = Canvas(284, 96, GREEN)
    shape = rounded_rect(22, 0, 262, 96, 10)
    for i, start in enumerate(TAIL_START):
        shape |= {(x, 74 + i) for x in range(start, 22)}
    c.paint(shape, CREAM)
    c.paint(rim(shape), BLACK)
    # the standard colours, with the key green in slot 2 and cream last
    table = list(VGA16)
    table[2], table[10], table[15] = GREEN, (0, 128, 0), CREAM
    _, indices = index_image(c, {i: col for i, col in enumerate(table)}, 16)
    return bmp_bytes(table, indices, 4)


def build_all():
    """File name -> bytes, for every picture."""
    files = {'Vuka6.ico': draw_icon(), 'mascot.bmp': draw_mascot(),
             'balloon.bmp': draw_balloon(), 'banner_title.bmp': draw_title()}
    for k, frame in enumerate(BALL_FRAMES, 1):
        files['banner_ball%d.bmp' % k] = draw_ball_frame(*frame)
    return files


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--out', default=os.path.join(here, '..', 'res'))
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for name, data in sorted(build_all().items()):
        with open(os.path.join(args.out, name), 'wb') as f:
            f.write(data)
        print('%-20s %6d bytes' % (name, len(data)))


if __name__ == '__main__':
    main()
