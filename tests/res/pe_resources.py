"""Reads the resources of a PE executable and decodes the resource formats the installer uses.

Self-contained (no third-party module), so that any Python 3 can run the checks. Every
decoder raises FormatError on data that does not have the expected shape.
"""
import struct

RT_ICON = 3
RT_DIALOG = 5
RT_STRING = 6
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24

_PREDEFINED_CLASSES = {0x80: "BUTTON", 0x81: "EDIT", 0x82: "STATIC", 0x83: "LISTBOX",
                       0x84: "SCROLLBAR", 0x85: "COMBOBOX"}


class FormatError(Exception):
    pass


class _Reader:
    """Little-endian cursor over a bytes object."""

    def __init__(self, data, pos=0):
        self.data = data
        self.pos = pos

    def take(self, fmt):
        size = struct.calcsize(fmt)
        if self.pos + size > len(self.data):
            raise FormatError("truncated at offset %d" % self.pos)
        values = struct.unpack_from("<" + fmt, self.data, self.pos)
        self.pos += size
        return values if len(values) > 1 else values[0]

    def utf16z(self):
        end = self.pos
        while True:
            if end + 2 > len(self.data):
                raise FormatError("unterminated UTF-16 string at offset %d" % self.pos)
            if self.data[end:end + 2] == b"\0\0":
                break
            end += 2
        text = self.data[self.pos:end].decode("utf-16-le")
        self.pos = end + 2
        return text

    def name_or_ordinal(self):
        if self.data[self.pos:self.pos + 2] == b"\xff\xff":
            self.pos += 2
            return self.take("H")
        return self.utf16z()

    def align(self, boundary, base=0):
        self.pos = base + (self.pos - base + boundary - 1) // boundary * boundary


MACHINE_I386 = 0x14C
MACHINE_AMD64 = 0x8664


def _pe_header(path, image):
    """A reader placed just after the PE signature."""
    r = _Reader(image)
    if image[:2] != b"MZ":
        raise FormatError("%s is not an executable (no MZ header)" % path)
    r.pos = 0x3C
    r.pos = r.take("I")
    if r.take("4s") != b"PE\0\0":
        raise FormatError("%s has no PE header" % path)
    return r


def read_machine(path):
    """The processor an executable is built for (MACHINE_I386, MACHINE_AMD64, ...)."""
    with open(path, "rb") as f:
        return _pe_header(path, f.read(4096)).take("H")


def read_resources(path):
    """Returns {(type, name): {language: bytes}}; type and name are ints or strings."""
    with open(path, "rb") as f:
        image = f.read()
    r = _pe_header(path, image)
    _, sections, _, _, _, optional_size, _ = r.take("HHIIIHH")
    optional = r.pos
    magic = r.take("H")
    directories = {0x10B: 96, 0x20B: 112}.get(magic)
    if directories is None:
        raise FormatError("unknown optional header magic %#x" % magic)
    r.pos = optional + directories + 2 * 8
    resource_rva, resource_size = r.take("II")
    if resource_rva == 0:
        return {}
    r.pos = optional + optional_size
    mapping = []
    for _ in range(sections):
        _, virtual_size, rva, raw_size, raw_pointer = r.take("8sIIII")
        r.pos += 16
        mapping.append((rva, max(virtual_size, raw_size), raw_pointer))

    def offset(rva_to_map):
        for start, size, raw in mapping:
            if start <= rva_to_map < start + size:
                return raw + rva_to_map - start
        raise FormatError("address %#x lies in no section" % rva_to_map)

    base = offset(resource_rva)

    def entries(directory_offset):
        d = _Reader(image, base + directory_offset + 12)
        named, numbered = d.take("HH")
        for _ in range(named + numbered):
            name, target = d.take("II")
            if name & 0x80000000:
                s = _Reader(image, base + (name & 0x7FFFFFFF))
                length = s.take("H")
                key = image[s.pos:s.pos + 2 * length].decode("utf-16-le")
            else:
                key = name
            yield key, target

    resources = {}
    for type_key, type_target in entries(0):
        for name_key, name_target in entries(type_target & 0x7FFFFFFF):
            languages = resources.setdefault((type_key, name_key), {})
            for language, data_entry in entries(name_target & 0x7FFFFFFF):
                if data_entry & 0x80000000:
                    raise FormatError("resource directory nested too deep")
                data_rva, size = _Reader(image, base + data_entry).take("II")
                start = offset(data_rva)
                languages[language] = image[start:start + size]
    return resources


def decode_string_block(data):
    """The sixteen strings of one RT_STRING block, empty entries included."""
    r = _Reader(data)
    strings = []
    for _ in range(16):
        length = r.take("H")
        if r.pos + 2 * length > len(data):
            raise FormatError("string block entry runs past the block")
        strings.append(data[r.pos:r.pos + 2 * length].decode("utf-16-le"))
        r.pos += 2 * length
    if any(data[r.pos:]):
        raise FormatError("data after the sixteenth string")
    return strings


def decode_dialog_ex(data):
    """An extended dialog template as a dict; control classes given as ordinals are named."""
    r = _Reader(data)
    version, signature = r.take("HH")
    if (version, signature) != (1, 0xFFFF):
        raise FormatError("not an extended dialog template")
    dialog = {}
    dialog["help_id"], dialog["ex_style"], dialog["style"], count = r.take("IIIH")
    dialog["rect"] = r.take("hhhh")
    dialog["menu"] = r.name_or_ordinal()
    dialog["class"] = r.name_or_ordinal()
    dialog["title"] = r.utf16z()
    dialog["font"] = None
    if dialog["style"] & 0x48:  # DS_SETFONT or DS_SHELLFONT
        size, weight, italic, charset = r.take("HHBB")
        dialog["font"] = {"size": size, "weight": weight, "italic": italic,
                          "charset": charset, "face": r.utf16z()}
    dialog["controls"] = []
    for _ in range(count):
        r.align(4)
        control = {}
        control["help_id"], control["ex_style"], control["style"] = r.take("III")
        control["rect"] = r.take("hhhh")
        control["id"] = r.take("I")
        window_class = r.name_or_ordinal()
        control["class_is_ordinal"] = isinstance(window_class, int)
        control["class"] = _PREDEFINED_CLASSES.get(window_class, window_class)
        control["title"] = r.name_or_ordinal()
        extra = r.take("H")
        control["creation_data"] = data[r.pos:r.pos + extra]
        r.pos += extra
        dialog["controls"].append(control)
    if any(data[r.pos:]):
        raise FormatError("data after the last control")
    return dialog


def decode_version_info(data):
    """A version resource as a tree of {"key", "type", "value", "children"} nodes."""

    def node(r):
        start = r.pos
        length, value_length, value_type = r.take("HHH")
        end = start + length
        if length < 6 or end > len(r.data):
            raise FormatError("bad version node length at offset %d" % start)
        key = r.utf16z()
        r.align(4)
        if value_type == 1:
            # Text; the length counts UTF-16 units, the terminator included.
            raw = r.data[r.pos:r.pos + 2 * value_length]
            r.pos += 2 * value_length
            value = raw.decode("utf-16-le")
        else:
            value = r.data[r.pos:r.pos + value_length]
            r.pos += value_length
        children = []
        r.align(4)
        while r.pos < end:
            children.append(node(r))
            r.align(4)
        if r.pos > end + 3:
            raise FormatError("version node %r overruns its length" % key)
        r.pos = end
        return {"key": key, "type": value_type, "value": value, "children": children}

    r = _Reader(data)
    root = node(r)
    if any(data[r.pos:]):
        raise FormatError("data after the version block")
    return root


def decode_icon_group(data):
    """An RT_GROUP_ICON directory as a list of entries."""
    r = _Reader(data)
    reserved, kind, count = r.take("HHH")
    if (reserved, kind) != (0, 1):
        raise FormatError("not an icon directory")
    images = []
    for _ in range(count):
        width, height, colours, _, planes, bits, size, icon_id = r.take("BBBBHHIH")
        images.append({"width": width or 256, "height": height or 256, "colours": colours,
                       "planes": planes, "bits": bits, "bytes": size, "id": icon_id})
    if r.pos != len(data):
        raise FormatError("data after the icon directory")
    return images
