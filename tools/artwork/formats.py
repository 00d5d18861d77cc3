"""The two Windows file formats the resources need, written byte by byte so that every field is ours:
24-bit BI_RGB bitmaps (bottom-up) and icons whose images are DIBs with an AND mask."""

import struct

from PIL import Image

BI_RGB = 0
PELS_PER_METRE_96_DPI = 3780

# The 16 colours of the VGA palette, which 4-bit icons have always used.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def _row_stride(width, bits):
    return (width * bits + 31) // 32 * 4


def _info_header(width, height, bits, image_size, colours_used=0):
    """BITMAPINFOHEADER, 40 bytes."""
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, BI_RGB, image_size,
                       PELS_PER_METRE_96_DPI, PELS_PER_METRE_96_DPI, colours_used, 0)


def bmp24_bytes(image):
    """A 24-bit BI_RGB bitmap file, rows bottom-up, each padded to four bytes."""
    image = image.convert('RGB')
    width, height = image.size
    stride = _row_stride(width, 24)
    padding = b'\0' * (stride - width * 3)
    raw = image.tobytes('raw', 'BGR')
    rows = [raw[y * width * 3:(y + 1) * width * 3] + padding for y in range(height - 1, -1, -1)]
    pixels = b''.join(rows)
    offset = 14 + 40
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return file_header + _info_header(width, height, 24, len(pixels)) + pixels


def _and_mask(alpha):
    """The AND mask: 1 where the screen shows through (alpha below half), rows bottom-up, 1 bit per pixel."""
    width, height = alpha.size
    stride = _row_stride(width, 1)
    data = alpha.load()
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            if data[x, y] < 128:
                row[x >> 3] |= 0x80 >> (x & 7)
        rows.append(bytes(row))
    return b''.join(rows)


def _nearest(palette, colour):
    r, g, b = colour
    best = min(range(len(palette)),
               key=lambda i: ((palette[i][0] - r) ** 2 * 3 + (palette[i][1] - g) ** 2 * 4
                              + (palette[i][2] - b) ** 2 * 2, i))
    return best


def _palette_for(image, bits):
    """The palette of a 4- or 8-bit icon image: VGA colours for 4 bits, the image's own (median cut, no
    dithering) for 8 bits."""
    if bits == 4:
        return list(VGA16)
    opaque = Image.new('RGB', image.size, (0, 0, 0))
    opaque.paste(image.convert('RGB'), (0, 0), image.getchannel('A').point(lambda a: 255 if a >= 128 else 0))
    quantised = opaque.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    flat = quantised.getpalette()[:255 * 3]
    palette = [tuple(flat[i:i + 3]) for i in range(0, len(flat), 3)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    return palette


def _icon_image_bytes(image, bits):
    """One icon image: BITMAPINFOHEADER with twice the height (colour bits and AND mask), the palette for
    palette images, the colour bits and the AND mask."""
    image = image.convert('RGBA')
    width, height = image.size
    alpha = image.getchannel('A')
    mask = _and_mask(alpha)
    stride = _row_stride(width, bits)
    px = image.load()
    rows = []
    if bits == 32:
        for y in range(height - 1, -1, -1):
            row = bytearray()
            for x in range(width):
                r, g, b, a = px[x, y]
                row += bytes((b, g, r, a))
            rows.append(bytes(row))
        palette_bytes = b''
    else:
        palette = _palette_for(image, bits)
        cache = {}
        for y in range(height - 1, -1, -1):
            row = bytearray(stride)
            for x in range(width):
                r, g, b, a = px[x, y]
                if a < 128:
                    index = 0
                else:
                    index = cache.get((r, g, b))
                    if index is None:
                        index = cache[(r, g, b)] = _nearest(palette, (r, g, b))
                if bits == 8:
                    row[x] = index
                else:
                    row[x >> 1] |= index << (4 if x % 2 == 0 else 0)
            rows.append(bytes(row))
        palette_bytes = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    pixels = b''.join(rows)
    header = _info_header(width, height * 2, bits, len(pixels) + len(mask))
    return header + palette_bytes + pixels + mask


def ico_bytes(images):
    """An icon file from (RGBA image, bits per pixel) pairs, in the given order."""
    blobs = [_icon_image_bytes(image, bits) for image, bits in images]
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (image, bits), blob in zip(images, blobs):
        width, height = image.size
        colour_count = 16 if bits == 4 else 0
        directory += struct.pack('<BBBBHHII', width % 256, height % 256, colour_count, 0, 1, bits,
                                 len(blob), offset)
        offset += len(blob)
    return directory + b''.join(blobs)
