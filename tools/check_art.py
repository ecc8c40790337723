#!/usr/bin/env python3
"""Reads the committed artwork back from the raw file bytes and checks what
the program relies on: header layout, colour tables, the colour key, and the
exact silhouettes the mascot and balloon windows are shaped from.

    python3 tools/check_art.py [--dir DIR]     (default: the repo's res/)

Exits non-zero on the first picture that is off; prints what it measured.
"""
import argparse
import os
import struct
import sys

GREEN = (0, 255, 0)
CREAM = (255, 251, 240)
BALL_X = {1: 30, 2: 66, 3: 110, 4: 152, 5: 183, 6: 222}

failures = []


def expect(what, got, want):
    ok = got == want
    print('  %-28s %-24s %s' % (what, got, 'ok' if ok else 'WANT %r' % (want,)))
    if not ok:
        failures.append(what)


class Bmp:
    """A packed BI_RGB bitmap parsed without any help from the generator."""

    def __init__(self, data, with_file_header=True, mask_rows=False):
        off = 14 if with_file_header else 0
        if with_file_header:
            magic, self.file_size, _, _, self.bits_at = struct.unpack_from('<2sIHHI', data)
            if magic != b'BM':
                raise ValueError('not a BMP file')
        (self.hdr_size, self.w, self.h, self.planes, self.bpp, self.compression,
         self.image_size, self.xppm, self.yppm, self.clr_used,
         self.clr_important) = struct.unpack_from('<IiiHHIIiiII', data, off)
        rows = self.h // 2 if mask_rows else self.h   # icons store XOR + AND
        n = self.clr_used or (1 << self.bpp)
        at = off + self.hdr_size
        self.table = [(data[i + 2], data[i + 1], data[i])
                      for i in range(at, at + 4 * n, 4)]
        self.table_bytes = data[at:at + 4 * n]
        if not with_file_header:
            self.bits_at = at + 4 * n
        stride = (self.w * self.bpp + 31) // 32 * 4
        self.index = []
        for y in range(rows):                     # y = 0 is the top row
            line = data[self.bits_at + (rows - 1 - y) * stride:][:stride]
            if self.bpp == 8:
                self.index.append(list(line[:self.w]))
            else:
                self.index.append([line[x // 2] >> (4 - 4 * (x % 2)) & 15
                                   for x in range(self.w)])
        self.mask_at = self.bits_at + rows * stride
        self.data = data

    def rgb(self, x, y):
        return self.table[self.index[y][x]]


def load(folder, name):
    with open(os.path.join(folder, name), 'rb') as f:
        return f.read()


def check_headers(bmp, data, w, h, bpp):
    expect('size', (bmp.w, bmp.h), (w, h))
    expect('bits per pixel', bmp.bpp, bpp)
    expect('biSize/planes/BI_RGB', (bmp.hdr_size, bmp.planes, bmp.compression), (40, 1, 0))
    expect('biClrUsed/biClrImportant', (bmp.clr_used, bmp.clr_important), (0, 0))
    expect('table entries', len(bmp.table), 1 << bpp)
    expect('pixels per metre', (bmp.xppm, bmp.yppm), (2835, 2835))
    expect('bfSize = file length', bmp.file_size, len(data))
    expect('bits follow the table', bmp.bits_at, 54 + 4 * len(bmp.table))
    stride = (w * bpp + 31) // 32 * 4
    expect('bits fill the file', len(data) - bmp.bits_at, stride * h)


def runs_of(bmp, y):
    """Maximal horizontal runs of non-green pixels in row y, inclusive."""
    runs, start = [], None
    for x in range(bmp.w + 1):
        solid = x < bmp.w and bmp.rgb(x, y) != GREEN
        if solid and start is None:
            start = x
        elif not solid and start is not None:
            runs.append((start, x - 1))
            start = None
    return runs


def silhouette(bmp, green_index):
    """Prints and returns the per-row runs; also checks the key colour."""
    expect('top-left colour', bmp.rgb(0, 0), GREEN)
    expect('top-left table index', bmp.index[0][0], green_index)
    used_green = {i for row in bmp.index for i in row if bmp.table[i] == GREEN}
    expect('indices drawing green', sorted(used_green), [green_index])
    rows = [runs_of(bmp, y) for y in range(bmp.h)]
    y = 0
    while y < bmp.h:                               # summarise equal rows
        end = y
        while end + 1 < bmp.h and len(rows[end + 1]) == len(rows[y]):
            end += 1
        print('    rows %2d..%2d: %d run(s) each' % (y, end, len(rows[y])))
        y = end + 1
    green = sum(1 for yy in range(bmp.h) for x in range(bmp.w)
                if bmp.rgb(x, yy) == GREEN)
    return rows, green


def check_mascot(folder):
    print('mascot.bmp')
    data = load(folder, 'mascot.bmp')
    bmp = Bmp(data)
    check_headers(bmp, data, 90, 80, 8)
    rows, green = silhouette(bmp, 74)
    expect('rows 0..3 empty', [len(r) for r in rows[:4]], [0] * 4)
    expect('rows 4..77 one run each', all(len(r) == 1 for r in rows[4:78]), True)
    expect('row 78 runs', rows[78], [(33, 53), (60, 77)])
    expect('row 79 run count', len(rows[79]), 1)
    expect('number of runs', sum(len(r) for r in rows), 77)
    expect('green pixels', green, 2246)


def check_balloon(folder):
    print('balloon.bmp')
    data = load(folder, 'balloon.bmp')
    bmp = Bmp(data)
    check_headers(bmp, data, 284, 96, 4)
    rows, green = silhouette(bmp, 2)
    expect('one run in every row', all(len(r) == 1 for r in rows), True)
    body = [r[0] for y, r in enumerate(rows) if not 74 <= y <= 81]
    expect('body columns', (min(a for a, _ in body), max(b for _, b in body)), (22, 283))
    expect('tail rows (left of col 22)',
           [y for y, r in enumerate(rows) if r[0][0] < 22], list(range(74, 82)))
    expect('rows starting at column 0',
           [y for y, r in enumerate(rows) if r[0][0] == 0], list(range(78, 82)))
    expect('number of runs', sum(len(r) for r in rows), 96)
    expect('green pixels', green, 2046)
    colours = {bmp.rgb(x, y) for y in range(96) for x in range(284)}
    expect('colours used', sorted(colours), sorted([(0, 0, 0), CREAM, GREEN]))
    text_area = {bmp.rgb(x, y) for y in range(12, 86) for x in range(35, 274)}
    expect('text area all cream', text_area, {CREAM})


def check_banners(folder):
    tables = []
    for k in range(7):
        name = 'banner_title.bmp' if k == 0 else 'banner_ball%d.bmp' % k
        print(name)
        data = load(folder, name)
        bmp = Bmp(data)
        check_headers(bmp, data, 250, 50, 8)
        tables.append(bmp.table_bytes)
        if k:
            # the ball is the only strongly red thing on these frames
            xs = [x for y in range(50) for x in range(250)
                  if bmp.rgb(x, y)[0] > 90 and max(bmp.rgb(x, y)[1:]) < 70]
            expect('ball centre x', (min(xs) + max(xs)) // 2, BALL_X[k])
            expect('ball width', max(xs) - min(xs) + 1, 37)
    same = [(i, j) for i in range(7) for j in range(i + 1, 7) if tables[i] == tables[j]]
    print('banners')
    expect('identical colour tables', same, [])


def check_icon(folder):
    print('Vuka6.ico')
    data = load(folder, 'Vuka6.ico')
    reserved, kind, count = struct.unpack_from('<HHH', data)
    expect('ICONDIR', (reserved, kind, count), (0, 1, 1))
    w, h, colours, _, planes, bits, size, offset = struct.unpack_from('<BBBBHHII', data, 6)
    expect('entry size/colours/bits', (w, h, colours, planes, bits), (32, 32, 16, 1, 4))
    expect('entry covers the rest', (offset, offset + size), (22, len(data)))
    bmp = Bmp(data[offset:], with_file_header=False, mask_rows=True)
    expect('header size/height', (bmp.hdr_size, bmp.w, bmp.h, bmp.bpp), (40, 32, 64, 4))
    expect('XOR + AND bytes', size - 40 - 64, 32 * 16 + 32 * 4)
    mask = data[offset:][bmp.mask_at:]
    clear = lambda x, y: mask[(31 - y) * 4 + x // 8] >> (7 - x % 8) & 1
    expect('corners transparent', [clear(0, 0), clear(31, 0), clear(0, 31), clear(31, 31)], [1] * 4)
    expect('centre opaque', clear(16, 16), 0)
    solid = [bmp.rgb(x, y) for y in range(32) for x in range(32) if not clear(x, y)]
    reds = sum(1 for r, g, b in solid if r > 100 and g < 50 and b < 50)
    expect('mostly red where opaque', reds * 2 > len(solid), True)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--dir', default=os.path.join(here, '..', 'res'))
    folder = ap.parse_args().dir
    for check in (check_icon, check_mascot, check_balloon, check_banners):
        try:
            check(folder)
        except (OSError, ValueError, struct.error, IndexError) as err:
            print('  cannot read: %s' % err)
            failures.append(check.__name__)
    print('FAILED: ' + ', '.join(failures) if failures else 'all artwork checks passed')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
