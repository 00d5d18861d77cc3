#!/usr/bin/python3
"""Writes Optivue's artwork into a folder: the twelve sample pictures of the main dialog (24-bit bitmaps,
English and German, XP look and 2000 look at the three size levels) and the program icon (optivue.ico).

    generate.py OUTDIR        write every file
    generate.py --list        print the file names, one a line

The output depends only on this source and the fonts: the same bytes on every run."""

import sys

sys.dont_write_bytecode = True

import argparse  # noqa: E402
import os  # noqa: E402

import formats  # noqa: E402
import screens  # noqa: E402
import shapes  # noqa: E402

# Resource id, language, look, size level, width and height in pixels. The main dialog lays its controls
# out from these sizes, so they are fixed; res/artwork.rc names each file by its id.
PICTURES = [
    (142, 'en', 'xp', 'normal', 261, 326),
    (141, 'en', 'xp', 'large', 351, 378),
    (140, 'en', 'xp', 'xlarge', 351, 419),
    (146, 'en', 'w2k', 'normal', 245, 294),
    (145, 'en', 'w2k', 'large', 341, 361),
    (147, 'en', 'w2k', 'xlarge', 337, 393),
    (158, 'de', 'xp', 'normal', 263, 325),
    (168, 'de', 'xp', 'large', 351, 370),
    (154, 'de', 'xp', 'xlarge', 351, 408),
    (196, 'de', 'w2k', 'normal', 246, 294),
    (197, 'de', 'w2k', 'large', 334, 362),
    (198, 'de', 'w2k', 'xlarge', 339, 391),
]

ICON_FILE = 'optivue.ico'
# The program icon's images, in directory order: (size, bits per pixel).
ICON_IMAGES = [(16, 4), (16, 8), (32, 8), (32, 32), (48, 8), (48, 32)]

FONT_CHOICES = [
    ('/usr/share/wine/fonts/tahoma.ttf', '/usr/share/wine/fonts/tahomabd.ttf'),
    ('/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf', '/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf'),
]


def picture_file(language, look, level):
    return f'desktop_{look}_{level}_{language}.bmp'


def output_files():
    return [picture_file(lang, look, level) for _, lang, look, level, _, _ in PICTURES] + [ICON_FILE]


def find_fonts():
    for regular, bold in FONT_CHOICES:
        if os.path.exists(regular) and os.path.exists(bold):
            return screens.Fonts(regular, bold)
    sys.exit('generate.py: no Tahoma (fonts-wine) and no DejaVu Sans (fonts-dejavu-core) found')


def write(path, data):
    with open(path, 'wb') as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('outdir', nargs='?')
    parser.add_argument('--list', action='store_true', help='print the names of the files written')
    args = parser.parse_args()
    if args.list:
        print('\n'.join(output_files()))
        return
    if not args.outdir:
        parser.error('the output folder is missing')
    os.makedirs(args.outdir, exist_ok=True)
    fonts = find_fonts()
    for _, language, look, level, width, height in PICTURES:
        image = screens.picture(look, level, language, (width, height), fonts)
        write(os.path.join(args.outdir, picture_file(language, look, level)), formats.bmp24_bytes(image))
    images = [(shapes.program_icon(size, bits, fonts.paths[True]), bits) for size, bits in ICON_IMAGES]
    write(os.path.join(args.outdir, ICON_FILE), formats.ico_bytes(images))


if __name__ == '__main__':
    main()
