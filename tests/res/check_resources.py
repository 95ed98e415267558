#!/usr/bin/env python3
"""Checks the resources of a built KestrixOfficeInstaller.exe.

usage: check_resources.py [EXE] [unittest options]
EXE defaults to the environment variable KESTRIX_INSTALLER_EXE.
"""
import os
import struct
import sys
import unittest
import xml.etree.ElementTree as ET
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import expected  # noqa: E402
import pe_resources as pe  # noqa: E402

RESOURCES = None  # filled by main()
MACHINE = None  # the executable's processor, filled by main()


def languages_of(key):
    return set(RESOURCES.get(key, {}))


def png_chunks(data):
    """[(type, payload)] of a PNG file; fails on a bad signature or checksum."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise pe.FormatError("no PNG signature")
    chunks, pos = [], 8
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        payload = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack_from(">I", data, pos + 8 + length)
        if zlib.crc32(kind + payload) != crc:
            raise pe.FormatError("bad checksum in PNG chunk %r" % kind)
        chunks.append((kind, payload))
        pos += 12 + length
    if not chunks or chunks[-1][0] != b"IEND":
        raise pe.FormatError("PNG does not end with IEND")
    return chunks


def png_header(data):
    """(width, height, bit depth, colour type) and the decompressed image data."""
    chunks = png_chunks(data)
    width, height, depth, colour_type = struct.unpack(">IIBB", chunks[0][1][:10])
    pixels = zlib.decompress(b"".join(p for kind, p in chunks if kind == b"IDAT"))
    return (width, height, depth, colour_type), pixels, chunks


class StringTableTest(unittest.TestCase):
    def test_blocks_exist_in_the_fifteen_languages_only(self):
        for block in (9, 10):  # ids 128-143 and 144-159
            self.assertEqual(languages_of((pe.RT_STRING, block)), set(expected.LANGUAGES))

    def test_every_string_of_every_language(self):
        for language, tag in expected.LANGUAGES.items():
            with self.subTest(language=tag):
                found = {}
                for block in (9, 10):
                    data = RESOURCES[(pe.RT_STRING, block)][language]
                    for index, text in enumerate(pe.decode_string_block(data)):
                        if text:
                            found[(block - 1) * 16 + index] = text
                self.assertEqual(found, expected.STRINGS[language])


class DialogTemplateTest(unittest.TestCase):
    def test_template_exists_in_the_fifteen_languages_only(self):
        self.assertEqual(languages_of((pe.RT_DIALOG, 102)), set(expected.LANGUAGES))

    def test_template_of_every_language(self):
        for language, tag in expected.LANGUAGES.items():
            with self.subTest(language=tag):
                found = pe.decode_dialog_ex(RESOURCES[(pe.RT_DIALOG, 102)][language])
                want = expected.dialog(language)
                controls = found.pop("controls")
                want_controls = want.pop("controls")
                self.assertEqual(found, want)
                self.assertEqual(len(controls), len(want_controls))
                for got, exp in zip(controls, want_controls):
                    # Predefined classes are stored as ordinals, the others by name.
                    self.assertEqual(got.pop("class_is_ordinal"),
                                     exp["class"] in ("BUTTON", "STATIC"))
                    self.assertEqual(got, exp, "control %d" % exp["id"])


class VersionBlockTest(unittest.TestCase):
    def test_block_exists_under_english_and_korean_only(self):
        self.assertEqual(languages_of((pe.RT_VERSION, 1)), set(expected.VERSION_LANGUAGES))

    def test_fixed_part_and_string_table(self):
        for language, table_key in expected.VERSION_LANGUAGES.items():
            with self.subTest(language=hex(language)):
                root = pe.decode_version_info(RESOURCES[(pe.RT_VERSION, 1)][language])
                self.assertEqual(root["key"], "VS_VERSION_INFO")
                fields = struct.unpack("<13I", root["value"])
                self.assertEqual({
                    "signature": fields[0],
                    "file_version": fields[2:4],
                    "product_version": fields[4:6],
                    "flags_mask": fields[6],
                    "flags": fields[7],
                    "os": fields[8],
                    "type": fields[9],
                    "subtype": fields[10],
                }, expected.FIXED_FILE_INFO)
                children = {c["key"]: c for c in root["children"]}
                self.assertEqual(set(children), {"StringFileInfo", "VarFileInfo"})

                tables = children["StringFileInfo"]["children"]
                self.assertEqual([t["key"] for t in tables], [table_key])
                values = {}
                for entry in tables[0]["children"]:
                    self.assertEqual(entry["type"], 1, entry["key"])
                    self.assertTrue(entry["value"].endswith("\0"), entry["key"])
                    values[entry["key"]] = entry["value"][:-1]
                self.assertEqual(values, expected.VERSION_STRINGS)

                variables = children["VarFileInfo"]["children"]
                self.assertEqual([v["key"] for v in variables], ["Translation"])
                self.assertEqual(struct.unpack("<HH", variables[0]["value"]), (language, 1200))


class ManifestTest(unittest.TestCase):
    ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
    ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"

    def manifest(self):
        self.assertEqual([k for k in RESOURCES if k[0] == pe.RT_MANIFEST], [(pe.RT_MANIFEST, 1)])
        self.assertEqual(languages_of((pe.RT_MANIFEST, 1)), {expected.ENGLISH_US})
        return ET.fromstring(RESOURCES[(pe.RT_MANIFEST, 1)][expected.ENGLISH_US])

    def test_execution_level(self):
        levels = list(self.manifest().iter(self.ASM_V3 + "requestedExecutionLevel"))
        self.assertEqual([l.attrib for l in levels], [{"level": "asInvoker", "uiAccess": "false"}])

    def test_common_controls_dependency(self):
        # The common controls of the program's own processor: a 64-bit program
        # that asked for the x86 ones would not start.
        processor = {pe.MACHINE_I386: "x86", pe.MACHINE_AMD64: "amd64"}.get(MACHINE)
        identities = [d.find(self.ASM_V1 + "dependentAssembly/" + self.ASM_V1 + "assemblyIdentity")
                      for d in self.manifest().findall(self.ASM_V1 + "dependency")]
        self.assertEqual([i.attrib for i in identities], [{
            "type": "win32",
            "name": "Microsoft.Windows.Common-Controls",
            "version": "6.0.0.0",
            "processorArchitecture": processor,
            "publicKeyToken": "6595b64144ccf1df",
            "language": "*",
        }])

    def test_no_supported_os_list_and_no_dpi_awareness(self):
        names = {e.tag.split("}")[-1] for e in self.manifest().iter()}
        for absent in ("compatibility", "supportedOS", "windowsSettings", "dpiAware",
                       "dpiAwareness"):
            self.assertNotIn(absent, names)


class IconTest(unittest.TestCase):
    def group(self):
        self.assertEqual(languages_of((pe.RT_GROUP_ICON, expected.ICON_GROUP)), {expected.KOREAN})
        return pe.decode_icon_group(RESOURCES[(pe.RT_GROUP_ICON, expected.ICON_GROUP)]
                                    [expected.KOREAN])

    def test_group_holds_nine_square_32_bit_images(self):
        entries = self.group()
        self.assertEqual(sorted(e["width"] for e in entries), sorted(expected.ICON_SIZES))
        for e in entries:
            self.assertEqual((e["height"], e["planes"], e["bits"], e["colours"]),
                             (e["width"], 1, 32, 0))

    def test_images_are_png_at_256_and_dib_below(self):
        for e in self.group():
            size = e["width"]
            with self.subTest(size=size):
                self.assertEqual(languages_of((pe.RT_ICON, e["id"])), {expected.KOREAN})
                image = RESOURCES[(pe.RT_ICON, e["id"])][expected.KOREAN]
                self.assertEqual(len(image), e["bytes"])
                if size == 256:
                    (width, height, depth, colour_type), pixels, _ = png_header(image)
                    self.assertEqual((width, height, depth, colour_type), (256, 256, 8, 6))
                    self.assertEqual(len(pixels), 256 * (256 * 4 + 1))
                    continue
                header = struct.unpack_from("<IiiHHI", image)
                self.assertEqual(header, (40, size, 2 * size, 1, 32, 0))
                mask_row = (size + 31) // 32 * 4
                self.assertEqual(len(image), 40 + size * size * 4 + size * mask_row)
                alpha = image[40 + 3:40 + size * size * 4:4]
                self.assertTrue(any(alpha), "the image is fully transparent")
                self.assertFalse(all(a == 255 for a in alpha), "the image has no transparency")


class BannerTest(unittest.TestCase):
    def test_banner_is_a_palette_png_of_the_picture_control_size(self):
        self.assertEqual(languages_of(expected.BANNER), {expected.KOREAN})
        data = RESOURCES[expected.BANNER][expected.KOREAN]
        (width, height, depth, colour_type), pixels, chunks = png_header(data)
        self.assertEqual((width, height), expected.BANNER_SIZE)
        self.assertEqual((depth, colour_type), (8, 3))
        self.assertIn(b"PLTE", [kind for kind, _ in chunks])
        self.assertEqual(len(pixels), height * (width + 1))


def main(argv):
    global RESOURCES, MACHINE
    args = argv[1:]
    exe = os.environ.get("KESTRIX_INSTALLER_EXE")
    if args and not args[0].startswith("-"):
        exe = args.pop(0)
    if not exe:
        sys.stderr.write(__doc__)
        return 2
    try:
        RESOURCES = pe.read_resources(exe)
        MACHINE = pe.read_machine(exe)
    except (OSError, pe.FormatError) as e:
        sys.stderr.write("cannot read the resources of %s: %s\n" % (exe, e))
        return 2
    result = unittest.main(argv=[argv[0]] + args, exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
