#!/usr/bin/env python3
"""Checks the release package: its three files, the exe it carries and the
version that the exe's version resource and the read-me state."""
import struct
import sys
import zipfile


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def fixed_file_version(exe):
    """FileVersion from VS_FIXEDFILEINFO, found by its signature."""
    at = exe.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        fail("no VS_FIXEDFILEINFO in the exe")
    ms, ls = struct.unpack_from("<II", exe, at + 8)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def string_value(exe, key):
    """A StringFileInfo value: the UTF-16 key, padding to 4 bytes, the value."""
    needle = (key + "\0").encode("utf-16-le")
    at = exe.find(needle)
    if at < 0:
        fail(f"no {key} in the version resource")
    at += len(needle)
    at += (-at) % 4
    end = exe.find(b"\0\0", at)
    while (end - at) % 2:
        end = exe.find(b"\0\0", end + 1)
    return exe[at:end].decode("utf-16-le")


def main():
    package, built_exe, version = sys.argv[1:4]
    with zipfile.ZipFile(package) as archive:
        names = sorted(archive.namelist())
        if names != ["LICENSE", "Vuka6.exe", "readme.txt"]:
            fail(f"package holds {names}")
        exe = archive.read("Vuka6.exe")
        readme = archive.read("readme.txt")
        licence = archive.read("LICENSE").decode("ascii")
    # For any Notepad: UTF-8 with its byte-order mark, CR LF line ends.
    if not readme.startswith(b"\xef\xbb\xbf"):
        fail("the read-me has no UTF-8 byte-order mark")
    readme = readme.decode("utf-8-sig")
    for name, text in [("the read-me", readme), ("LICENSE", licence)]:
        if "\r\n" not in text or "\n" in text.replace("\r\n", ""):
            fail(f"{name}'s line ends are not CRLF throughout")

    if exe != open(built_exe, "rb").read():
        fail("the packed exe is not the one just built")
    if fixed_file_version(exe) != version:
        fail(f"fixed file version {fixed_file_version(exe)}, expected {version}")
    for key, expected in [("FileVersion", version), ("ProductVersion", version),
                          ("ProductName", "Bamzo to Vuka6"), ("InternalName", "Vuka6")]:
        value = string_value(exe, key)
        if value != expected:
            fail(f"{key} is {value!r}, expected {expected!r}")
    if "041104b0".encode("utf-16-le") not in exe:
        fail("no Japanese string block 041104b0")
    if f"バージョン {version}" not in readme or f"version {version}" not in readme:
        fail("the read-me does not state the version in both languages")
    if "再配布" not in readme or "Redistribution" not in readme:
        fail("the read-me lacks the redistribution terms")
    if not licence.startswith("MIT License"):
        fail("LICENSE is not the MIT licence")
    print(f"package ok: {names}, version {version}")


if __name__ == "__main__":
    main()
