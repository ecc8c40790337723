"""What the bytes of an exe are: the linker's map (ld -Map) gives each input section's size and the object
or library it came from. The resources come from the resource compiler, not the linker: their section is
measured in the exe (objdump -h). What is left is headers and alignment."""
import os
import re
import subprocess
from pathlib import Path

# Sections that take room in the file; .bss and the debugging sections do not (the exe is stripped).
FILE_SECTIONS = {"text", "data", "rdata", "pdata", "xdata", "idata", "CRT", "tls", "ctors", "dtors"}
# Where an input file's bytes are counted: the first part whose pattern matches; the table's order too.
ORIGINS = {
    "Static C++ runtime (libstdc++)": r"libstdc\+\+\.a|libsupc\+\+\.a",
    "Threads runtime (winpthread)": r"libpthread\.a|libwinpthread\.a",
    "Compiler support (libgcc, unwinder)": r"libgcc(_eh)?\.a|crtbegin\.o|crtend\.o",
    "Import tables of the system DLLs": r"\((d\d+|lib\w+s\d+)\.o\)",
    "MinGW C runtime (start-up, printf, helpers)": r"/x86_64-w64-mingw32/lib/",
    "The program's own code and data": r"",
}
# An input section: " .name  0xADDRESS  0xSIZE  file", where a long name pushes the rest onto the next line.
INPUT_SECTION = re.compile(r"^ \.([^\s.$]+)\S*[ \t]*\n?[ \t]+0x[0-9a-f]+[ \t]+0x([0-9a-f]+)[ \t]+(\S.*)$", re.M)
# A section in objdump -h: index, name, size, VMA, LMA, file offset.
SECTION = re.compile(r"^ *\d+ (\S+) +[0-9a-f]+ +[0-9a-f]+ +[0-9a-f]+ +([0-9a-f]+)", re.M)


def breakdown(map_path, exe, pictures):
    """[(part, bytes)] of the exe, the total last."""
    sizes = dict.fromkeys(ORIGINS, 0)
    text = Path(map_path).read_text(errors="replace")
    for section, size, path in INPUT_SECTION.findall(text[text.index("Linker script and memory map"):]):
        if section in FILE_SECTIONS:
            sizes[next(origin for origin, pattern in ORIGINS.items() if re.search(pattern, path))] += int(size, 16)
    # .rsrc takes the file up to the next section, or to the end.
    headers = subprocess.run(["x86_64-w64-mingw32-objdump", "-h", exe], capture_output=True, text=True, check=True)
    offsets = {name: int(offset, 16) for name, offset in SECTION.findall(headers.stdout)}
    total = os.path.getsize(exe)
    resources = min([o for o in offsets.values() if o > offsets[".rsrc"]] + [total]) - offsets[".rsrc"]
    pictures = sum(os.path.getsize(p) - 14 for p in pictures)  # a .bmp file has a 14-byte header more
    return [("Resources", resources), ("… of which the nine pictures", pictures), *sizes.items(),
            ("Headers and alignment", total - resources - sum(sizes.values())), ("Total", total)]
