#!/usr/bin/env python3
"""Check the mascot's remark catalogue in res/Remarks.rc.

Every remark was laid out by hand for the balloon's text area (40 half-width
columns by 6 lines of a fixed-pitch font), so a remark that changes shape no
longer looks right even when it still fits.  This script reads the
STRINGTABLE itself, without the resource compiler, so it also catches what
the compiler would accept silently (a stray tab, an ampersand that the
balloon would turn into an underline, a line that wraps).

Usage: check_remarks.py [path/to/Remarks.rc]
resource.h is looked up next to the .rc file.  Exit status 0 means every
text passed; 1 means at least one failure; 2 means the file could not be read.
"""

import os
import re
import sys

# Widths are counted the way the balloon draws them: a full-width character
# takes two cells of the fixed-pitch font and so does its Shift-JIS encoding.
ENCODING = "cp932"
MAX_LINES = 6
MAX_COLUMNS = 40

# (lines, widest line in bytes) for every text the program loads.
SHAPES = {
    104: (3, 27), 680: (3, 14), 681: (4, 33),
    700: (5, 38), 701: (4, 30), 702: (2, 37),
}
_REMARK_LINES = [
    6, 6, 6, 1, 1, 2, 1, 2, 2, 2,
    3, 3, 1, 1, 3, 2, 3, 2, 1, 5,
    1, 2, 3, 1, 1, 2, 1, 1, 4, 1,
    1, 2, 2, 1, 4, 1, 1, 3, 4, 5,
    1, 1, 1, 1, 3, 1, 1, 1, 2, 6,
]
_REMARK_WIDEST = [
    31, 31, 31, 34, 34, 30, 24, 22, 20, 16,
    22, 24, 20, 18, 8, 20, 26, 21, 22, 32,
    38, 30, 30, 20, 36, 32, 30, 30, 26, 24,
    20, 24, 34, 6, 18, 10, 25, 28, 38, 28,
    16, 22, 14, 26, 34, 18, 18, 36, 36, 24,
]
for _i, (_n, _w) in enumerate(zip(_REMARK_LINES, _REMARK_WIDEST)):
    SHAPES[200 + _i] = (_n, _w)

# Empty lines are deliberate pauses in these texts only; anywhere else an
# empty line is a doubled \n.  The indexes listed must be empty.
EMPTY_LINES = {104: {0, 1}, 244: {0, 1}, 219: {3}}

ESCAPES = {"n": "\n", "\\": "\\", "t": "\t", "r": "\r", '"': '"'}


class RcError(Exception):
    pass


def read_symbols(header_path):
    symbols = {}
    with open(header_path, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = re.match(r"\s*#\s*define\s+(\w+)\s+\(?\s*(0[xX][0-9a-fA-F]+|\d+)[uUlL]*\s*\)?\s*(//.*|/\*.*)?$", line)
            if m:
                symbols[m.group(1)] = int(m.group(2), 0)
    return symbols


def tokenize(source):
    """Yield (kind, value, line) for words and string literals.

    Comments and preprocessor lines are dropped; a string literal is
    unescaped as the resource compiler does: \\n, \\\\, \\t, \\r, \\" and a
    doubled quote.  Unknown escapes and unterminated strings are errors
    rather than guesses, because a guess would hide a broken remark.
    """
    i, line, n = 0, 1, len(source)
    at_line_start = True
    while i < n:
        c = source[i]
        if c == "\n":
            line += 1
            i += 1
            at_line_start = True
            continue
        if c in " \t\r":
            i += 1
            continue
        if at_line_start and c == "#":
            while i < n and source[i] != "\n":
                i += 1
            continue
        at_line_start = False
        if source.startswith("//", i):
            while i < n and source[i] != "\n":
                i += 1
            continue
        if source.startswith("/*", i):
            end = source.find("*/", i + 2)
            if end < 0:
                raise RcError("line %d: unterminated comment" % line)
            line += source.count("\n", i, end)
            i = end + 2
            continue
        if c == '"':
            start_line = line
            i += 1
            text = []
            while True:
                if i >= n or source[i] == "\n":
                    raise RcError("line %d: unterminated string" % start_line)
                c = source[i]
                if c == '"':
                    if source.startswith('""', i):
                        text.append('"')
                        i += 2
                        continue
                    i += 1
                    break
                if c == "\\":
                    esc = source[i + 1:i + 2]
                    if esc not in ESCAPES:
                        raise RcError("line %d: unknown escape \\%s" % (line, esc))
                    text.append(ESCAPES[esc])
                    i += 2
                    continue
                text.append(c)
                i += 1
            yield ("string", "".join(text), start_line)
            continue
        if c == ",":
            i += 1
            continue
        m = re.compile(r"[{}]|[^\s\",{}]+").match(source, i)
        yield ("word", m.group(0), line)
        i = m.end()


def parse_rc(source, symbols):
    """Return a list of (id, text, line) from every STRINGTABLE block."""
    tokens = list(tokenize(source))
    entries = []
    k = 0
    while k < len(tokens):
        kind, value, line = tokens[k]
        k += 1
        if kind != "word" or value.upper() != "STRINGTABLE":
            continue
        # Skip memory flags and LANGUAGE/VERSION statements up to BEGIN.
        while k < len(tokens) and tokens[k][1] not in ("BEGIN", "{"):
            k += 1
        if k == len(tokens):
            raise RcError("line %d: STRINGTABLE without BEGIN" % line)
        k += 1
        while True:
            if k >= len(tokens):
                raise RcError("line %d: STRINGTABLE without END" % line)
            kind, value, line = tokens[k]
            if kind == "word" and value in ("END", "}"):
                k += 1
                break
            if kind != "word":
                raise RcError("line %d: string without an ID" % line)
            if k + 1 >= len(tokens) or tokens[k + 1][0] != "string":
                raise RcError("line %d: ID %s without a string" % (line, value))
            entries.append((resolve_id(value, symbols, line), tokens[k + 1][1], line))
            k += 2
    if not entries:
        raise RcError("no STRINGTABLE entries found")
    return entries


def resolve_id(word, symbols, line):
    number = re.fullmatch(r"(0[xX][0-9a-fA-F]+|\d+)[lL]?", word)
    if number:
        return int(number.group(1), 0)
    if word in symbols:
        return symbols[word]
    raise RcError("line %d: unknown symbol %s" % (line, word))


def check_text(string_id, text):
    """Return (lines, widest, problems) for one text."""
    problems = []
    for ch in sorted(set(text)):
        if ch == "\n":
            continue
        if ch == "\r":
            problems.append("carriage return")
        elif ch == "\t":
            problems.append("tab")
        elif ch == "&":
            problems.append("ampersand")
        elif ch == '"':
            problems.append("double quote")
        elif ord(ch) < 0x20 or ord(ch) == 0x7F:
            problems.append("control character U+%04X" % ord(ch))
        else:
            try:
                ch.encode(ENCODING)
            except UnicodeEncodeError:
                problems.append("U+%04X not in %s" % (ord(ch), ENCODING))

    lines = text.split("\n")
    # An unencodable character is counted as full width so that it cannot
    # make a line look narrower than it is.
    widths = [len(l.encode(ENCODING, errors="replace")) +
              sum(1 for ch in l if not _encodable(ch)) for l in lines]
    widest = max(widths)
    if len(lines) > MAX_LINES:
        problems.append("%d lines, at most %d fit" % (len(lines), MAX_LINES))
    for number, (l, width) in enumerate(zip(lines, widths), 1):
        if width > MAX_COLUMNS:
            problems.append("line %d is %d columns wide" % (number, width))
        if l != l.rstrip(" \u3000"):
            problems.append("line %d ends in a space" % number)
    must_be_empty = EMPTY_LINES.get(string_id, set())
    for index, l in enumerate(lines):
        if index in must_be_empty and l:
            problems.append("line %d should be empty" % (index + 1))
        if index not in must_be_empty and not l:
            problems.append("line %d is empty" % (index + 1))
    expected = SHAPES.get(string_id)
    if expected and (len(lines), widest) != expected:
        problems.append("shape %d x %d, expected %d x %d" %
                        (len(lines), widest, expected[0], expected[1]))
    return len(lines), widest, problems


def _encodable(ch):
    try:
        ch.encode(ENCODING)
        return True
    except UnicodeEncodeError:
        return False


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    rc_path = argv[1] if len(argv) > 1 else os.path.join(here, "..", "res", "Remarks.rc")
    header_path = os.path.join(os.path.dirname(rc_path), "resource.h")
    try:
        with open(rc_path, encoding="utf-8") as f:
            source = f.read()
        entries = parse_rc(source, read_symbols(header_path))
    except (OSError, UnicodeDecodeError, RcError) as e:
        print("%s: %s" % (rc_path, e))
        return 2

    failures = 0
    seen = {}
    print("%5s %5s %6s  %s" % ("ID", "lines", "widest", "status"))
    for string_id, text, line in entries:
        lines, widest, problems = check_text(string_id, text)
        if string_id in seen:
            problems.append("duplicate of line %d" % seen[string_id])
        elif string_id not in SHAPES:
            problems.append("not a remark the program uses")
        seen.setdefault(string_id, line)
        failures += bool(problems)
        print("%5d %5d %6d  %s" % (string_id, lines, widest,
                                  "; ".join(problems) if problems else "ok"))
    for string_id in sorted(set(SHAPES) - set(seen)):
        failures += 1
        print("%5d %5s %6s  missing" % (string_id, "-", "-"))

    print("%d texts, %d failed" % (len(entries), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
