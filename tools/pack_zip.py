#!/usr/bin/env python3
"""Writes the release zip so that the same files always give the same bytes:
the entries in the order given, each with the same fixed time and
attributes, and nothing of the machine, the user or the folder that built it
(no owner IDs, no Unix modes, no extra time fields).

    pack_zip.py OUT.zip FILE... [--text FILE...]     the entries are named by base name

The files after --text are text for Notepad, which before Windows 10 1809
shows a file without CR LF line ends as one long line, and may not take a
file for UTF-8 without its byte-order mark: they get CR LF line ends, and
those that are not plain ASCII the mark. The sources keep their own.
"""
import os
import sys
import zipfile

# The time every entry carries. A zip stores local times without a zone, so
# any clock reading (the build's, a file's) would differ between builders.
FIXED_TIME = (2026, 1, 1, 0, 0, 0)


BOM = b"\xef\xbb\xbf"


def for_notepad(data):
    data = data.removeprefix(BOM).replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    return data if data.isascii() else BOM + data


def main():
    out, files = sys.argv[1], sys.argv[2:]
    if not files:
        sys.exit("usage: pack_zip.py OUT.zip FILE... [--text FILE...]")
    texts = files[files.index("--text") + 1:] if "--text" in files else []
    files = [path for path in files if path != "--text"]
    # Written aside and renamed, so that a failed run leaves no half zip
    # that the build would take as up to date.
    partial = out + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for path in files:
            entry = zipfile.ZipInfo(os.path.basename(path), FIXED_TIME)
            entry.create_system = 0  # MS-DOS attributes: the files are for Windows
            entry.external_attr = 0
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                data = source.read()
            archive.writestr(entry, for_notepad(data) if path in texts else data, compresslevel=9)
    os.replace(partial, out)


if __name__ == "__main__":
    main()
