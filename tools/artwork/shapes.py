"""The icons, drawn as vector shapes on a 48-unit design grid and rendered at any pixel size by
supersampling: the standard desktop icons, the window's small ones (the Desktop folder, the Go button) and
the program's own icon."""

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

DESIGN = 48


def lerp(c0, c1, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(c0, c1))


def ramp(stops, n):
    """n colours along a gradient of (position 0..1, colour) stops."""
    out = []
    for i in range(n):
        t = i / (n - 1) if n > 1 else 0.0
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if t <= p1 or (p1, c1) == stops[-1]:
                span = p1 - p0
                out.append(lerp(c0, c1, 0.0 if span <= 0 else min(1.0, max(0.0, (t - p0) / span))))
                break
    return out


def gradient(size, stops, vertical=True):
    """An RGB image of the given size filled with a linear gradient."""
    width, height = size
    n = height if vertical else width
    strip = Image.new('RGB', (1, n) if vertical else (n, 1))
    strip.putdata(ramp(stops, n))
    return strip.resize(size, Image.Resampling.NEAREST)


class Sketch:
    """A square RGBA canvas in design units, supersampled and reduced with a box filter."""

    def __init__(self, size, ss=8):
        self.size = size
        self.ss = ss
        self.n = size * ss
        self.k = self.n / DESIGN
        self.im = Image.new('RGBA', (self.n, self.n), (0, 0, 0, 0))

    # Geometry in design units.
    def p(self, x, y):
        return (x * self.k, y * self.k)

    def pts(self, points):
        return [self.p(x, y) for x, y in points]

    def bbox(self, x0, y0, x1, y1):
        return (x0 * self.k, y0 * self.k, x1 * self.k - 1, y1 * self.k - 1)

    def px(self, pixels):
        """A width given in output pixels, in canvas pixels."""
        return max(1, round(pixels * self.ss))

    def mask(self, draw):
        m = Image.new('L', (self.n, self.n), 0)
        draw(ImageDraw.Draw(m))
        return m

    def poly_mask(self, points):
        return self.mask(lambda d: d.polygon(self.pts(points), fill=255))

    def ellipse_mask(self, x0, y0, x1, y1):
        return self.mask(lambda d: d.ellipse(self.bbox(x0, y0, x1, y1), fill=255))

    def rrect_mask(self, x0, y0, x1, y1, r):
        return self.mask(lambda d: d.rounded_rectangle(self.bbox(x0, y0, x1, y1), radius=r * self.k, fill=255))

    # Painting.
    def paint(self, mask, source, opacity=255):
        """Composites source (a colour or an RGB(A) image of canvas size) through mask."""
        if isinstance(source, tuple):
            source = Image.new('RGBA', (self.n, self.n), source + (255,) if len(source) == 3 else source)
        else:
            source = source.convert('RGBA')
        alpha = ImageChops.multiply(source.getchannel('A'), mask)
        if opacity != 255:
            alpha = alpha.point(lambda a: a * opacity // 255)
        layer = source.copy()
        layer.putalpha(alpha)
        self.im.alpha_composite(layer)

    def vgrad(self, y0, y1, stops):
        """A canvas-sized vertical gradient running from design y0 to y1."""
        a, b = round(y0 * self.k), round(y1 * self.k)
        g = gradient((self.n, max(2, b - a)), stops)
        full = Image.new('RGB', (self.n, self.n), stops[0][1])
        full.paste(g, (0, a))
        full.paste(Image.new('RGB', (self.n, max(0, self.n - b)), stops[-1][1]), (0, b))
        return full

    def hgrad(self, x0, x1, stops):
        a, b = round(x0 * self.k), round(x1 * self.k)
        g = gradient((max(2, b - a), self.n), stops, vertical=False)
        full = Image.new('RGB', (self.n, self.n), stops[0][1])
        full.paste(g, (a, 0))
        full.paste(Image.new('RGB', (max(0, self.n - b), self.n), stops[-1][1]), (b, 0))
        return full

    def stroke_mask(self, mask, pixels=1.0):
        """The inner rim of a shape: the shape minus its erosion by five eighths of the given width in output
        pixels, which the box filter blends into an outline of about that width."""
        eroded = mask
        for _ in range(max(1, round(pixels * self.ss * 5 / 8))):
            eroded = eroded.filter(ImageFilter.MinFilter(3))
        return ImageChops.subtract(mask, eroded)

    def shape(self, mask, fill, outline=None, width=1.0):
        self.paint(mask, fill)
        if outline is not None:
            self.paint(self.stroke_mask(mask, width), outline)

    def line(self, points, colour, width=1.0, opacity=255):
        m = self.mask(lambda d: d.line(self.pts(points), fill=255, width=self.px(width), joint='curve'))
        self.paint(m, colour, opacity)

    def result(self):
        return self.im.convert('RGBa').resize((self.size, self.size), Image.Resampling.BOX).convert('RGBA')


# --- the desktop icons -------------------------------------------------------------------------------------

def _documents(s):
    outline = (150, 104, 20)
    back = s.poly_mask([(3, 9), (17, 9), (20, 12), (44, 12), (44, 40), (3, 40)])
    s.shape(back, s.vgrad(9, 40, [(0, (236, 190, 78)), (1, (205, 148, 40))]), outline)
    for x0, y0, x1, y1, lines in ((9, 5, 33, 33, False), (14, 8, 38, 36, True)):
        sheet = s.mask(lambda d: d.rectangle(s.bbox(x0, y0, x1, y1), fill=255))
        s.shape(sheet, (255, 255, 255), (128, 128, 128))
        if lines:
            for y in range(12, 24, 3):
                s.line([(x0 + 4, y), (x1 - 4 - (5 if y == 21 else 0), y)], (90, 130, 200), 1.0)
    front = s.poly_mask([(2, 20), (46, 20), (43, 44), (5, 44)])
    s.shape(front, s.vgrad(20, 44, [(0, (255, 232, 140)), (0.5, (250, 207, 96)), (1, (232, 176, 56))]),
            outline)
    s.line([(4, 22), (44, 22)], (255, 246, 206), 1.0)


def _computer(s):
    dark = (88, 88, 80)
    body = s.rrect_mask(5, 2, 42, 33, 3)
    s.shape(body, s.vgrad(2, 33, [(0, (248, 248, 242)), (1, (196, 195, 184))]), dark)
    screen = s.mask(lambda d: d.rectangle(s.bbox(9, 6, 38, 28), fill=255))
    s.shape(screen, s.vgrad(6, 28, [(0, (26, 84, 204)), (0.65, (82, 150, 232)), (1, (150, 200, 245))]),
            (52, 52, 60))
    glare = s.poly_mask([(10, 7), (26, 7), (10, 20)])
    s.paint(glare, (255, 255, 255), 70)
    neck = s.poly_mask([(19, 33), (28, 33), (30, 37), (17, 37)])
    s.shape(neck, (170, 169, 160), dark)
    case = s.rrect_mask(2, 36, 46, 46, 2)
    s.shape(case, s.vgrad(36, 46, [(0, (236, 235, 226)), (1, (170, 169, 158))]), dark)
    s.line([(28, 40), (42, 40)], (70, 70, 66), 1.0)
    led = s.ellipse_mask(6, 39.5, 9, 42.5)
    s.paint(led, (40, 200, 60))


def _network(s):
    globe = s.ellipse_mask(2, 1, 32, 31)
    ocean = Image.radial_gradient('L').resize((round(44 * s.k), round(44 * s.k)))
    ocean_rgb = Image.composite(Image.new('RGB', ocean.size, (22, 78, 182)),
                                Image.new('RGB', ocean.size, (128, 196, 255)), ocean)
    canvas = Image.new('RGB', (s.n, s.n), (22, 78, 182))
    canvas.paste(ocean_rgb, (round(-2 * s.k), round(-5 * s.k)))
    s.paint(globe, canvas)
    for blob in ([(8, 7), (15, 5), (19, 9), (17, 14), (12, 16), (9, 13)],
                 [(19, 17), (26, 15), (30, 20), (27, 27), (21, 28), (20, 23)],
                 [(4, 19), (9, 20), (10, 25), (6, 26)]):
        land = ImageChops.multiply(s.poly_mask(blob), globe)
        s.paint(land, s.vgrad(5, 28, [(0, (120, 200, 90)), (1, (40, 130, 50))]))
    s.paint(s.stroke_mask(globe, 1.0), (20, 62, 140))
    s.line([(12, 31), (12, 43), (25, 43)], (60, 60, 60), 1.5)
    body = s.rrect_mask(23, 22, 46, 39, 2)
    s.shape(body, s.vgrad(22, 39, [(0, (248, 248, 242)), (1, (196, 195, 184))]), (88, 88, 80))
    screen = s.mask(lambda d: d.rectangle(s.bbox(26, 25, 43, 35), fill=255))
    s.shape(screen, s.vgrad(25, 35, [(0, (26, 84, 204)), (1, (120, 180, 240))]), (52, 52, 60))
    base = s.rrect_mask(25, 40, 45, 46, 1.5)
    s.shape(base, (200, 199, 190), (88, 88, 80))


def _recycle_bin(s):
    edge = (70, 84, 94)
    body = s.poly_mask([(9, 10), (39, 10), (35, 44), (13, 44)])
    shading = s.hgrad(9, 39, [(0, (138, 156, 168)), (0.35, (226, 236, 240)), (0.6, (200, 214, 222)),
                              (1, (110, 128, 140))])
    s.shape(body, shading, edge)
    for top, bottom in (((16, 13), (17.5, 43)), ((24, 13), (24, 44)), ((32, 13), (30.5, 43))):
        s.line([top, bottom], (120, 138, 150), 1.0)
    for y in (22, 32):
        s.line([(10.5 + (y - 10) * 4 / 34, y), (37.5 - (y - 10) * 4 / 34, y)], (150, 166, 176), 1.0)
    rim = s.ellipse_mask(7, 5, 41, 15)
    s.shape(rim, (214, 224, 230), edge)
    opening = s.ellipse_mask(10, 7, 38, 13)
    s.paint(opening, s.vgrad(7, 13, [(0, (64, 78, 88)), (1, (112, 128, 140))]))
    foot = s.ellipse_mask(13, 41, 35, 47)
    s.paint(ImageChops.subtract(foot, s.poly_mask([(0, 0), (48, 0), (48, 44), (0, 44)])), edge)


def _explorer(s, font_path):
    ring_layer = Sketch(s.size, s.ss)
    ring = ring_layer.mask(lambda d: d.ellipse(ring_layer.bbox(1, 15, 47, 35), outline=255,
                                               width=round(3.2 * ring_layer.k)))
    ring = ring.rotate(28, resample=Image.Resampling.BICUBIC, center=(s.n / 2, s.n / 2))
    gold = s.vgrad(8, 40, [(0, (255, 226, 110)), (1, (222, 150, 20))])
    s.paint(ring, gold)
    font = ImageFont.truetype(font_path, round(46 * s.k), layout_engine=ImageFont.Layout.BASIC)
    glyph = Image.new('L', (s.n, s.n), 0)
    d = ImageDraw.Draw(glyph)
    d.text((s.n / 2, s.n / 2 + 1.5 * s.k), 'e', font=font, fill=255, anchor='mm')
    s.shape(glyph, s.vgrad(10, 42, [(0, (110, 190, 255)), (0.5, (30, 120, 230)), (1, (10, 60, 170))]),
            (8, 46, 130))
    front = s.poly_mask([(0, 24), (48, 30), (48, 48), (0, 48)])
    s.paint(ImageChops.multiply(ring, front), gold)


def _desktop(s):
    body = s.rrect_mask(1, 5, 47, 43, 3)
    s.shape(body, s.vgrad(5, 43, [(0, (100, 160, 240)), (1, (40, 100, 200))]), (30, 50, 110), 1.0)
    bar = s.mask(lambda d: d.rectangle(s.bbox(3, 35, 45, 41), fill=255))
    s.paint(bar, (205, 205, 200))
    for x, y in ((6, 9), (6, 20), (17, 9)):
        s.paint(s.mask(lambda d: d.rectangle(s.bbox(x, y, x + 7, y + 7), fill=255)), (255, 255, 255))


def _go(s):
    disc = s.ellipse_mask(2, 2, 46, 46)
    s.shape(disc, s.vgrad(2, 46, [(0, (140, 220, 120)), (1, (30, 140, 40))]), (20, 100, 30), 1.0)
    s.paint(s.poly_mask([(11, 20), (25, 20), (25, 12), (38, 24), (25, 36), (25, 28), (11, 28)]), (255, 255, 255))


# The icon view's items, in their order; 'desktop' (the folder's own small icon) and 'go' (the address
# band's button) are drawn too.
DESKTOP_ICONS = ('documents', 'computer', 'network', 'explorer', 'recycle_bin')


def icon(name, size, bold_font):
    """One of the icons by name, as an RGBA image of size by size pixels."""
    s = Sketch(size)
    drawers = {'documents': _documents, 'computer': _computer, 'network': _network,
               'recycle_bin': _recycle_bin, 'desktop': _desktop, 'go': _go,
               'explorer': lambda sk: _explorer(sk, bold_font)}
    drawers[name](s)
    return s.result()


# --- the program icon --------------------------------------------------------------------------------------

# At 16 by 16 pixels a drawing blurs; the small images are drawn pixel by pixel instead: the monitor with
# the letter alone on its screen.
PROGRAM_ICON_16 = [
    '................',
    '.kkkkkkkkkkkkkk.',
    '.kssssssssssssk.',
    '.ksbbbbbbbbbbsk.',
    '.ksbwwwnnwwwbsk.',
    '.ksbwwnnnnwwbsk.',
    '.ksbwwnwwnwwbsk.',
    '.ksbwnnwwnnwbsk.',
    '.ksbwnnnnnnwbsk.',
    '.ksbwnnwwnnwbsk.',
    '.ksbbbbbbbbbbsk.',
    '.kssssssssssssk.',
    '.kkkkkkkkkkkkkk.',
    '......kggk......',
    '...kssssssssk...',
    '...kkkkkkkkkk...',
]
# Colours of the small images: the VGA colours for the 4-bit image, softer ones for the 8-bit image.
PROGRAM_ICON_16_COLOURS = {
    4: {'k': (0, 0, 0), 's': (192, 192, 192), 'g': (128, 128, 128), 'b': (0, 0, 255), 'w': (255, 255, 255),
        'n': (0, 0, 128)},
    8: {'k': (60, 60, 66), 's': (214, 214, 218), 'g': (150, 150, 156), 'b': (40, 104, 214),
        'w': (255, 255, 255), 'n': (16, 32, 96)},
}


def program_icon_16(bits):
    colours = PROGRAM_ICON_16_COLOURS[4 if bits == 4 else 8]
    image = Image.new('RGBA', (16, 16), (0, 0, 0, 0))
    image.putdata([colours[c] + (255,) if c != '.' else (0, 0, 0, 0) for row in PROGRAM_ICON_16 for c in row])
    return image


def program_icon(size, bits, bold_font):
    """A monitor whose screen shows a small and a large letter A: the screen's text made bigger."""
    if size == 16:
        return program_icon_16(bits)
    s = Sketch(size)
    dark = (60, 60, 66)
    body = s.rrect_mask(2, 3, 46, 37, 4)
    s.shape(body, s.vgrad(3, 37, [(0, (246, 246, 246)), (1, (176, 178, 184))]), dark, 1.0)
    screen = s.mask(lambda d: d.rectangle(s.bbox(6, 7, 42, 33), fill=255))
    s.shape(screen, s.vgrad(7, 33, [(0, (30, 90, 210)), (1, (110, 175, 245))]), (30, 40, 80), 1.0)
    neck = s.poly_mask([(19, 37), (29, 37), (31, 41), (17, 41)])
    s.shape(neck, (160, 162, 168), dark, 1.0)
    foot = s.rrect_mask(10, 40, 38, 46, 2.5)
    s.shape(foot, s.vgrad(40, 46, [(0, (225, 226, 230)), (1, (150, 152, 160))]), dark, 1.0)
    page = s.mask(lambda d: d.rectangle(s.bbox(9, 10, 39, 33), fill=255))
    s.shape(page, (255, 255, 255), (150, 170, 200), 1.0)

    def letter(cx, baseline, height_units, weight):
        font = ImageFont.truetype(bold_font, round(height_units * s.k), layout_engine=ImageFont.Layout.BASIC)
        m = Image.new('L', (s.n, s.n), 0)
        ImageDraw.Draw(m).text((cx * s.k, baseline * s.k), 'A', font=font, fill=255, anchor='ms',
                               stroke_width=round(weight * s.k), stroke_fill=255)
        s.paint(m, (16, 32, 96))

    letter(15, 30, 10, 0.3)
    letter(29, 31.5, 24, 0.8)
    return s.result()
