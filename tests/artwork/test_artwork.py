#!/usr/bin/python3
"""Checks what tools/artwork/generate.py writes: the twelve sample pictures at the pixel sizes the main
dialog lays out from, as 24-bit BI_RGB bitmaps, named by res/artwork.rc under the right language; the
program icon with its six images; and the same bytes from two runs."""

import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
GENERATOR = os.path.join(SOURCE, 'tools', 'artwork', 'generate.py')
RESOURCE_SCRIPT = os.path.join(SOURCE, 'res', 'artwork.rc')

# Resource id: language, look, size level, width, height.
EXPECTED_PICTURES = {
    142: (1033, 'xp', 'normal', 261, 326),
    141: (1033, 'xp', 'large', 351, 378),
    140: (1033, 'xp', 'xlarge', 351, 419),
    146: (1033, '2000', 'normal', 245, 294),
    145: (1033, '2000', 'large', 341, 361),
    147: (1033, '2000', 'xlarge', 337, 393),
    158: (1031, 'xp', 'normal', 263, 325),
    168: (1031, 'xp', 'large', 351, 370),
    154: (1031, 'xp', 'xlarge', 351, 408),
    196: (1031, '2000', 'normal', 246, 294),
    197: (1031, '2000', 'large', 334, 362),
    198: (1031, '2000', 'xlarge', 339, 391),
}
EXPECTED_ICON_ID = 199
EXPECTED_ICON_IMAGES = sorted([(16, 4), (16, 8), (32, 8), (32, 32), (48, 8), (48, 32)])
LANGUAGES = {('LANG_ENGLISH', 'SUBLANG_ENGLISH_US'): 1033, ('LANG_GERMAN', 'SUBLANG_GERMAN'): 1031,
             ('LANG_NEUTRAL', 'SUBLANG_NEUTRAL'): 0}


def generate(outdir):
    subprocess.run([sys.executable, '-B', GENERATOR, outdir], check=True)
    return {name: open(os.path.join(outdir, name), 'rb').read() for name in sorted(os.listdir(outdir))}


def resource_script():
    """(id, type, language, file) for each resource line of res/artwork.rc."""
    language = None
    rows = []
    for line in open(RESOURCE_SCRIPT, encoding='ascii'):
        line = line.split('//')[0].strip()
        m = re.match(r'LANGUAGE\s+(\w+)\s*,\s*(\w+)$', line)
        if m:
            language = LANGUAGES[m.groups()]
            continue
        m = re.match(r'(\d+)\s+(BITMAP|ICON)\s+"([^"]+)"$', line)
        if m:
            rows.append((int(m.group(1)), m.group(2), language, m.group(3)))
    return rows


def stride(width, bits):
    return (width * bits + 31) // 32 * 4


class Bitmap:
    """A parsed 24-bit bitmap file; pixel(x, y) counts y from the top."""

    def __init__(self, data):
        (self.magic, self.file_size, _, _, self.offset) = struct.unpack_from('<2sIHHI', data, 0)
        (self.header_size, self.width, self.height, self.planes, self.bits, self.compression,
         self.image_size) = struct.unpack_from('<IiiHHII', data, 14)
        self.data = data

    def pixel(self, x, y):
        row = self.height - 1 - y
        i = self.offset + row * stride(self.width, 24) + x * 3
        b, g, r = self.data[i:i + 3]
        return r, g, b


class ArtworkTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.first = generate(os.path.join(cls.tmp.name, 'first'))
        cls.second = generate(os.path.join(cls.tmp.name, 'second'))
        cls.script = resource_script()
        cls.pictures = {rid: Bitmap(cls.first[name]) for rid, kind, _, name in cls.script
                        if kind == 'BITMAP' and name in cls.first}

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_two_runs_write_the_same_bytes(self):
        self.assertEqual(sorted(self.first), sorted(self.second))
        for name in self.first:
            self.assertEqual(self.first[name], self.second[name], f'{name} differs between two runs')

    def test_generator_lists_exactly_the_files_it_writes(self):
        listed = subprocess.run([sys.executable, '-B', GENERATOR, '--list'], check=True, capture_output=True,
                                text=True).stdout.split()
        self.assertEqual(sorted(listed), sorted(self.first))

    def test_resource_script_names_every_picture_by_id_and_language(self):
        bitmaps = {rid: (language, name) for rid, kind, language, name in self.script if kind == 'BITMAP'}
        self.assertEqual(sorted(bitmaps), sorted(EXPECTED_PICTURES))
        for rid, (language, name) in bitmaps.items():
            self.assertEqual(language, EXPECTED_PICTURES[rid][0], f'bitmap {rid}')
            self.assertIn(name, self.first, f'bitmap {rid} names a file the generator does not write')
        icons = [(rid, name) for rid, kind, _, name in self.script if kind == 'ICON']
        self.assertEqual(len(icons), 1)
        self.assertEqual(icons[0][0], EXPECTED_ICON_ID)
        self.assertIn(icons[0][1], self.first)
        named = {name for _, _, _, name in self.script}
        self.assertEqual(named, set(self.first), 'every file written is a resource')

    def test_pictures_are_24_bit_bottom_up_bitmaps_of_the_exact_size(self):
        self.assertEqual(sorted(self.pictures), sorted(EXPECTED_PICTURES))
        for rid, bmp in self.pictures.items():
            _, _, _, width, height = EXPECTED_PICTURES[rid]
            with self.subTest(id=rid):
                self.assertEqual(bmp.magic, b'BM')
                self.assertEqual(bmp.header_size, 40)
                self.assertEqual((bmp.width, bmp.height), (width, height))   # positive height: bottom-up
                self.assertEqual(bmp.planes, 1)
                self.assertEqual(bmp.bits, 24)
                self.assertEqual(bmp.compression, 0)                          # BI_RGB
                self.assertEqual(bmp.offset, 14 + 40)
                self.assertEqual(bmp.image_size, stride(width, 24) * height)
                self.assertEqual(bmp.file_size, len(bmp.data))
                self.assertEqual(len(bmp.data), bmp.offset + bmp.image_size)

    def test_pictures_are_drawn_not_flat(self):
        for rid, bmp in self.pictures.items():
            colours = {bmp.pixel(x, y) for y in range(0, bmp.height, 2) for x in range(0, bmp.width, 2)}
            self.assertGreater(len(colours), 200, f'bitmap {rid} has only {len(colours)} colours')

    def caption_height(self, rid):
        """Rows from the top, down the middle column, that belong to the blue title bar."""
        bmp = self.pictures[rid]
        look = EXPECTED_PICTURES[rid][1]
        x = bmp.width // 2
        y = 0 if look == 'xp' else 4
        start = y
        while y < bmp.height:
            r, g, b = bmp.pixel(x, y)
            if not (b >= 140 and b > r + 60):
                break
            y += 1
        return y - start

    def test_title_bar_runs_along_the_top_and_grows_with_the_size_level(self):
        for language in (1033, 1031):
            for look in ('xp', '2000'):
                heights = []
                for level in ('normal', 'large', 'xlarge'):
                    rid = next(r for r, e in EXPECTED_PICTURES.items() if e[:3] == (language, look, level))
                    heights.append(self.caption_height(rid))
                with self.subTest(language=language, look=look, heights=heights):
                    self.assertGreaterEqual(heights[0], 17)
                    self.assertLess(heights[0], heights[1])
                    self.assertLess(heights[1], heights[2])

    def test_icon_holds_six_images_of_the_listed_sizes_and_depths(self):
        data = self.first[next(name for _, kind, _, name in self.script if kind == 'ICON')]
        reserved, kind, count = struct.unpack_from('<HHH', data, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 6))
        seen = []
        for i in range(count):
            w, h, colours, _, planes, bits, size, offset = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
            seen.append((w, bits))
            with self.subTest(size=w, bits=bits):
                self.assertEqual(w, h)
                self.assertEqual(planes, 1)
                self.assertEqual(colours, 16 if bits == 4 else 0)
                self.assertLessEqual(offset + size, len(data))
                hdr, bw, bh, bplanes, bbits, compression = struct.unpack_from('<IiiHHI', data, offset)
                self.assertEqual((hdr, bw, bh, bplanes, bbits, compression), (40, w, 2 * h, 1, bits, 0))
                palette = 4 << bits if bits <= 8 else 0
                colour_bytes = stride(w, bits) * h
                mask_bytes = stride(w, 1) * h
                self.assertEqual(size, 40 + palette + colour_bytes + mask_bytes)
                mask_start = offset + 40 + palette + colour_bytes
                mask = [(data[mask_start + stride(w, 1) * row + x // 8] >> (7 - x % 8)) & 1
                        for row in range(h) for x in range(w)]
                self.assertIn(0, mask, 'no opaque pixel')
                self.assertIn(1, mask, 'no transparent pixel')
                if bits == 32:
                    colour_start = offset + 40
                    alpha = [data[colour_start + 4 * i + 3] for i in range(w * h)]
                    self.assertEqual([1 if a < 128 else 0 for a in alpha], mask, 'AND mask disagrees with alpha')
                    self.assertIn(255, alpha)
                    self.assertIn(0, alpha)
                    self.assertTrue(any(0 < a < 255 for a in alpha), 'no soft edge')
        self.assertEqual(sorted(seen), EXPECTED_ICON_IMAGES)


if __name__ == '__main__':
    unittest.main()
