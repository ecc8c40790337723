#!/usr/bin/env python3
"""What the bytes of an exe are: its linker map (ld -Map) gives every input
section's size and the object or library it came from, which this sums by
origin. The resource section comes from the resource compiler, so it is
given as one line, with the pictures in it counted apart.

    exe_sizes.py MAP EXE [BMP...]
Prints "size ORIGIN BYTES" lines, the same form as the launcher's results.
"""
import os
import re
import struct
import sys

# Sections that take room in the file; .bss and the debugging sections do
# not (the released exe is stripped).
FILE_SECTIONS = (".text", ".data", ".rdata", ".pdata", ".xdata", ".idata", ".CRT", ".tls", ".ctors", ".dtors")

# An input file's origin, tried in order.
ORIGINS = [
    ("libstdcxx", re.compile(r"libstdc\+\+\.a|libsupc\+\+\.a")),
    ("libgcc", re.compile(r"libgcc(_eh)?\.a|crtbegin\.o|crtend\.o")),
    ("winpthread", re.compile(r"libpthread\.a|libwinpthread\.a")),
    ("import_tables", re.compile(r"lib(kernel32|user32|gdi32|msvcrt|comdlg32|advapi32|shell32|ole32|oleaut32|"
                                 r"uuid|winspool)\.a\((d\d+|lib\w+s\d+)\.o\)|\(d\d+\.o\)")),
    ("mingw_crt", re.compile(r"/x86_64-w64-mingw32/lib/")),
    ("ours", re.compile(r"")),
]


def origin(path):
    for name, pattern in ORIGINS:
        if pattern.search(path):
            return name
    return "ours"


def section_sizes(map_text):
    """(output section, input size, input file) for each input section."""
    body = map_text[map_text.index("Linker script and memory map"):]
    # An input section line: " .name  0xADDR  0xSIZE  file"; a long name
    # pushes the rest onto the next line.
    entry = re.compile(r"^ (\.[^\s]+)\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$")
    wrapped = re.compile(r"^\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$")
    pending = None
    for line in body.splitlines():
        if pending:
            match = wrapped.match(line)
            if match:
                yield pending, int(match.group(1), 16), match.group(2)
            pending = None
            continue
        match = entry.match(line)
        if match:
            yield match.group(1), int(match.group(2), 16), match.group(3)
        elif re.match(r"^ \.[^\s]+$", line):
            pending = line.strip()


def resource_section_size(exe):
    """The raw size of .rsrc, read from the PE section table."""
    pe = struct.unpack_from("<I", exe, 0x3C)[0]
    count = struct.unpack_from("<H", exe, pe + 6)[0]
    optional = struct.unpack_from("<H", exe, pe + 20)[0]
    table = pe + 24 + optional
    for i in range(count):
        name, raw_size = struct.unpack_from("<8s8xI", exe, table + 40 * i)
        if name.rstrip(b"\0") == b".rsrc":
            return raw_size
    return 0


def main():
    map_path, exe_path, pictures = sys.argv[1], sys.argv[2], sys.argv[3:]
    totals = {name: 0 for name, _ in ORIGINS}
    with open(map_path, encoding="utf-8", errors="replace") as source:
        for section, size, path in section_sizes(source.read()):
            if section.split("$")[0].split(".", 2)[1] in (s[1:] for s in FILE_SECTIONS):
                totals[origin(path)] += size
    with open(exe_path, "rb") as source:
        exe = source.read()
    resources = resource_section_size(exe)
    # A .bmp file is the resource plus its 14-byte file header.
    picture_bytes = sum(os.path.getsize(p) - 14 for p in pictures)
    for name, size in totals.items():
        print(f"size {name} {size}")
    print(f"size resources {resources}")
    print(f"size pictures {picture_bytes}")
    print(f"size other {len(exe) - resources - sum(totals.values())}")
    print(f"size total {len(exe)}")


if __name__ == "__main__":
    main()
