#!/usr/bin/env python3
"""Restores the case of the control class names in the dialog templates of a .res file.

windres upper-cases every quoted class name ("SysLink" becomes "SYSLINK"). Window classes are
looked up without regard to case, but the templates should carry the names as written, so this
rewrites them in place; the names keep their length, so no offset in the file changes.

usage: fix-dialog-classes.py IN.res OUT.res
"""
import struct
import sys

CLASS_NAMES = ("SysLink", "msctls_progress32")
RT_DIALOG = 5


def utf16z(text):
    return (text + "\0").encode("utf-16-le")


def read_id(data, pos):
    """Skips a name-or-ordinal field; returns (ordinal or None, next position)."""
    if data[pos:pos + 2] == b"\xff\xff":
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while data[end:end + 2] != b"\0\0":
        if end + 2 > len(data):
            raise ValueError("unterminated resource name")
        end += 2
    return None, end + 2


def fix(data):
    out = bytearray(data)
    pos = 0
    while pos < len(data):
        if pos + 8 > len(data):
            raise ValueError("truncated resource header at offset %d" % pos)
        data_size, header_size = struct.unpack_from("<II", data, pos)
        type_id, _ = read_id(data, pos + 8)
        start = pos + header_size
        end = start + data_size
        if header_size < 16 or end > len(data):
            raise ValueError("bad resource entry at offset %d" % pos)
        if type_id == RT_DIALOG:
            body = bytes(out[start:end])
            for name in CLASS_NAMES:
                body = body.replace(utf16z(name.upper()), utf16z(name))
            out[start:end] = body
        pos = (end + 3) & ~3
    return bytes(out)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    with open(argv[1], "rb") as f:
        data = f.read()
    try:
        fixed = fix(data)
    except ValueError as e:
        sys.stderr.write("%s: %s\n" % (argv[1], e))
        return 1
    with open(argv[2], "wb") as f:
        f.write(fixed)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
