#!/usr/bin/env python3
"""Where the bytes of a Windows executable come from, from the linker's map.

    size-breakdown.py <map file> <executable>

Sums the linked input sections by where they come from (our code, each
library, the run-time, the resources) and by kind (code, read-only data,
unwind tables, data), and prints the file's own section sizes beside them.
The map is written by the release link (-Wl,-Map); sizes are of the linked
sections, before the file's alignment.
"""
import collections
import os
import re
import struct
import sys

# Library archive (or object) name -> group.
GROUPS = [
    (re.compile(r"libcryptopp\.a"), "Crypto++"),
    (re.compile(r"libjsoncpp\.a"), "jsoncpp"),
    (re.compile(r"libstdc\+\+\.a|libsupc\+\+\.a"), "libstdc++"),
    (re.compile(r"libgcc(_eh)?\.a|libgcc_s"), "libgcc"),
    (re.compile(r"libssp(_nonshared)?\.a"), "libssp (stack protector)"),
    (re.compile(r"libmingw|libmsvcrt|crt2|crtbegin|crtend|dllcrt|libmoldname|libpthread|libwinpthread"),
     "C run-time (mingw-w64)"),
    (re.compile(r"-delay\.a|lib(kernel32|user32|gdi32|advapi32|shell32|ole32|comctl32|"
                r"oleaut32|uuid|msvcrt)\.a"), "import thunks"),
    (re.compile(r"\.res\.obj|installer\.res"), "resources"),
    (re.compile(r"libkestrix_|CMakeFiles"), "our code"),
    # Link-time optimisation merges our code with the parts of jsoncpp and
    # Crypto++ that it reaches.
    (re.compile(r"\.ltrans\d*\.ltrans\.o$"), "our code, jsoncpp and Crypto++'s MD5 (optimised together)"),
    (re.compile(r"^dll stuff$"), "linker (relocations)"),
]

KINDS = {".text": "code", ".rdata": "read-only data", ".eh_frame": "unwind tables",
         ".data": "data", ".bss": "zeroed data", ".pdata": "unwind tables",
         ".xdata": "unwind tables", ".rsrc": "resources", ".idata": "imports",
         ".CRT": "data", ".tls": "data", ".reloc": "relocations"}

ENTRY = re.compile(r"^ (\.[\w.$]+)\s+(0x[0-9a-f]+)\s+(0x[0-9a-f]+)\s+(.+)$")
NAME_ONLY = re.compile(r"^ (\.[\w.$]+)\s*$")
CONTINUED = re.compile(r"^\s+(0x[0-9a-f]+)\s+(0x[0-9a-f]+)\s+(.+)$")


def group_of(origin):
    for pattern, group in GROUPS:
        if pattern.search(origin):
            return group
    return "other: " + os.path.basename(origin)


def kind_of(section):
    base = "." + section.split(".")[1].split("$")[0] if section.count(".") else section
    return KINDS.get(base, base)


def read_map(path):
    sizes = collections.Counter()
    pending = None
    with open(path, errors="replace") as lines:
        for line in lines:
            line = line.rstrip("\n")
            match = ENTRY.match(line)
            if not match and pending:
                cont = CONTINUED.match(line)
                if cont and not pending.startswith(".debug"):
                    match = (pending, cont.group(2), cont.group(3))
                pending = None
                if match:
                    section, size, origin = match
                    sizes[(group_of(origin), kind_of(section))] += int(size, 16)
                continue
            if match:
                section, _, size, origin = match.groups()
                if int(size, 16) and not origin.startswith("*") and not section.startswith(".debug"):
                    sizes[(group_of(origin), kind_of(section))] += int(size, 16)
                continue
            name = NAME_ONLY.match(line)
            pending = name.group(1) if name else None
    return sizes


def pe_sections(path):
    """(name, raw size) of each section of a PE file."""
    with open(path, "rb") as f:
        image = f.read(4096)
    header = struct.unpack_from("<I", image, 0x3C)[0]
    count, optional_size = struct.unpack_from("<H12xH", image, header + 6)
    table = header + 24 + optional_size
    for i in range(count):
        name, _, _, raw_size = struct.unpack_from("<8sIII", image, table + 40 * i)
        yield name.rstrip(b"\0").decode(), raw_size


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    sizes = read_map(argv[1])
    groups = collections.Counter()
    kinds = collections.defaultdict(collections.Counter)
    for (group, kind), size in sizes.items():
        groups[group] += size
        kinds[group][kind] += size
    total = sum(groups.values())
    print("%-58s %10s  %s" % ("from", "bytes", "of which"))
    for group, size in groups.most_common():
        detail = ", ".join("%s %d" % (k, s) for k, s in kinds[group].most_common() if s)
        print("%-58s %10d  %s" % (group, size, detail))
    print("%-58s %10d" % ("linked sections in all", total))
    print()
    print("%s: %d bytes" % (argv[2], os.path.getsize(argv[2])))
    for name, size in pe_sections(argv[2]):
        print("  %-8s %10d" % (name, size))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
