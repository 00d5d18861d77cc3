"""The sample pictures: the folder window "Desktop" as it looks at one size level, in the Windows XP look
(Luna blue, smoothed text) or in the Windows 2000 look (classic grey 3D, crisp text). The picture is the
whole window, edge to edge: frame, title bar, menu band, address band, the icon view with the desktop icons,
a tooltip under the mouse pointer, and the status bar."""

from dataclasses import dataclass

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

import shapes


@dataclass(frozen=True)
class Level:
    icon: int            # icon size in the icon view
    text_px: int         # menus, icon labels, tooltip and status bar (Tahoma 8, 10 and 12 point at 96 dpi)
    spacing: int         # icon spacing, both directions
    pointer: float       # mouse pointer scale: standard, large and extra large pointers
    caption_icon: int    # the window's small icon in the title bar
    xp_caption: int      # XP: title bar height below the top frame, and its bold text
    xp_title_px: int
    classic_caption: int  # 2000: caption height, and its bold text
    classic_title_px: int


LEVELS = {
    'normal': Level(icon=32, text_px=11, spacing=75, pointer=1.0, caption_icon=16,
                    xp_caption=26, xp_title_px=13, classic_caption=18, classic_title_px=11),
    'large': Level(icon=48, text_px=13, spacing=91, pointer=1.5, caption_icon=20,
                   xp_caption=31, xp_title_px=16, classic_caption=24, classic_title_px=16),
    'xlarge': Level(icon=48, text_px=16, spacing=107, pointer=2.0, caption_icon=24,
                    xp_caption=37, xp_title_px=19, classic_caption=29, classic_title_px=19),
}


@dataclass(frozen=True)
class Texts:
    title: str
    menu: tuple
    address: str
    go: str
    items: tuple         # in the order of shapes.DESKTOP_ICONS
    tip: str             # the tooltip of the Recycle Bin
    objects_xp: str
    objects_classic: str
    zone: str


TEXTS = {
    'en': Texts('Desktop', ('File', 'Edit', 'View', 'Favorites', 'Tools', 'Help'), 'Address', 'Go',
                ('My Documents', 'My Computer', 'My Network Places', 'Internet Explorer', 'Recycle Bin'),
                'Holds the files and folders that you have deleted.', '5 objects', '5 object(s)',
                'My Computer'),
    'de': Texts('Desktop', ('Datei', 'Bearbeiten', 'Ansicht', 'Favoriten', 'Extras', '?'), 'Adresse',
                'Wechseln zu',
                ('Eigene Dateien', 'Arbeitsplatz', 'Netzwerkumgebung', 'Internet Explorer', 'Papierkorb'),
                'Enthält die Dateien und Ordner, die Sie gelöscht haben.', '5 Objekte', '5 Objekt(e)',
                'Arbeitsplatz'),
}

SELECTED_ITEM = 1   # My Computer
HOVERED_ITEM = 4    # Recycle Bin, the last one, with the tooltip

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
TOOLTIP = (255, 255, 225)


class Fonts:
    """Tahoma (Wine's look-alike from fonts-wine), or DejaVu Sans where it is missing.

    Wine's bold Tahoma is bold only in its embedded bitmaps (up to 12 pixels); its outlines are regular
    strokes. Larger bold text is therefore the regular face drawn twice, one pixel apart, as the system
    emboldens a face that has no bold of its own."""

    BITMAP_BOLD_UP_TO = 12

    def __init__(self, regular, bold):
        self.paths = {False: regular, True: bold}
        self.synthetic_bold = bold.endswith('tahomabd.ttf')
        self.cache = {}

    def get(self, px, bold=False):
        """The font for a pixel size and weight, and how many pixels to the right it is drawn again."""
        key = (px, bold)
        if key not in self.cache:
            overstrike = 1 if bold and self.synthetic_bold and px > self.BITMAP_BOLD_UP_TO else 0
            path = self.paths[bold and not overstrike]
            font = ImageFont.truetype(path, px, layout_engine=ImageFont.Layout.BASIC)
            self.cache[key] = (font, overstrike)
        return self.cache[key]


class Painter:
    """Pixel-exact drawing on the picture; w and h are sizes, not far corners."""

    def __init__(self, image, fonts, smooth):
        self.im = image
        self.d = ImageDraw.Draw(image)
        self.d.fontmode = 'L' if smooth else '1'
        self.fonts = fonts
        self.smooth = smooth
        self.icons = {}

    def fill(self, x, y, w, h, colour):
        if w > 0 and h > 0:
            self.d.rectangle((x, y, x + w - 1, y + h - 1), fill=colour)

    def frame(self, x, y, w, h, top_left, bottom_right):
        """A one-pixel rectangle, lit from the top left."""
        self.fill(x, y, w - 1, 1, top_left)
        self.fill(x, y, 1, h - 1, top_left)
        self.fill(x, y + h - 1, w, 1, bottom_right)
        self.fill(x + w - 1, y, 1, h, bottom_right)

    def paste_gradient(self, x, y, w, h, stops, vertical=True):
        if w > 0 and h > 0:
            self.im.paste(shapes.gradient((w, h), stops, vertical), (x, y))

    def width(self, text, px, bold=False):
        font, overstrike = self.fonts.get(px, bold)
        return int(font.getlength(text) + 0.999) + overstrike

    def line_height(self, px, bold=False):
        ascent, descent = self.fonts.get(px, bold)[0].getmetrics()
        return ascent + descent

    def text(self, x, top, h, text, px, colour, bold=False):
        """Draws text at x, centred vertically in the band from top, h pixels high."""
        font, overstrike = self.fonts.get(px, bold)
        ascent, descent = font.getmetrics()
        baseline = top + (h - ascent - descent + 1) // 2 + ascent
        for dx in range(overstrike + 1):
            self.d.text((x + dx, baseline), text, font=font, fill=colour, anchor='ls')

    def icon(self, name, size):
        """An icon, with soft edges for the XP look and hard 1-bit-mask edges for the 2000 look."""
        key = (name, size)
        if key not in self.icons:
            image = shapes.icon(name, size, self.fonts.paths[True])
            if not self.smooth:
                alpha = image.getchannel('A').point(lambda a: 255 if a >= 128 else 0)
                image = image.convert('RGB').convert('RGBA')
                image.putalpha(alpha)
            self.icons[key] = image
        return self.icons[key]

    def put(self, image, x, y):
        """Composites an RGBA image (an icon, a caption button) onto the picture."""
        w, h = image.size
        region = self.im.crop((x, y, x + w, y + h)).convert('RGBA')
        region.alpha_composite(image)
        self.im.paste(region.convert('RGB'), (x, y))


def supersampled_mask(size, draw, factor=4):
    """An anti-aliased L mask: draw(ImageDraw, factor) paints 255 at factor times the size."""
    w, h = size
    big = Image.new('L', (w * factor, h * factor), 0)
    draw(ImageDraw.Draw(big), factor)
    return big.resize((w, h), Image.Resampling.BOX)


def wrap(painter, text, px, width, max_lines=None):
    """Breaks text into lines no wider than width, at spaces, and inside a word that is wider than a whole
    line (as the icon view does). With max_lines, the last line that fits ends in an ellipsis."""
    lines = []
    for word in text.split(' '):
        candidate = (lines[-1] + ' ' + word) if lines else word
        if lines and painter.width(candidate, px) <= width:
            lines[-1] = candidate
            continue
        while painter.width(word, px) > width:
            cut = len(word) - 1
            while cut > 1 and painter.width(word[:cut], px) > width:
                cut -= 1
            lines.append(word[:cut])
            word = word[cut:]
        lines.append(word)
    if max_lines and len(lines) > max_lines:
        last = ' '.join(lines[max_lines - 1:])
        while last and painter.width(last + '...', px) > width:
            last = last[:-1]
        lines = lines[:max_lines - 1] + [last + '...']
    return lines


# --- the icon view, the pointer and the tooltip (both looks) -----------------------------------------------

def pointer_masks(scale):
    """The standard arrow pointer at a scale: (white fill, black outline) as 1-bit masks, hot spot at 0,0."""
    arrow = [(0.5, 0.5), (0.5, 16.2), (4.3, 12.5), (7.0, 18.6), (9.3, 17.6), (6.8, 11.7), (11.8, 11.7)]
    size = (round(13 * scale) + 2, round(20 * scale) + 2)
    inner = supersampled_mask(size, lambda d, f: d.polygon(
        [((x * scale + 1) * f, (y * scale + 1) * f) for x, y in arrow], fill=255), factor=8)
    inner = inner.point(lambda a: 255 if a >= 128 else 0)
    outline = ImageChops.subtract(inner.filter(ImageFilter.MaxFilter(3)), inner)
    return inner, outline


def draw_pointer(p, x, y, scale):
    inner, outline = pointer_masks(scale)
    p.im.paste(WHITE, (x - 1, y - 1), inner)
    p.im.paste(BLACK, (x - 1, y - 1), outline)


def draw_tooltip(p, hot_x, top, text, px, right, shadow):
    """The tooltip below the pointer: from the pointer's hot spot to the right, its text wrapped so that it
    stays inside the window."""
    pad_x, pad_y = (4, 2) if shadow else (3, 1)
    x = hot_x - 2
    lines = wrap(p, text, px, min(p.width(text, px), right - 4 - x - 2 * pad_x - 2))
    lh = p.line_height(px)
    w = max(p.width(line, px) for line in lines) + 2 * pad_x + 2
    h = len(lines) * lh + 2 * pad_y + 2
    if shadow:
        s = 3
        mask = Image.new('L', (w + 4 * s, h + 4 * s), 0)
        ImageDraw.Draw(mask).rectangle((2 * s, 2 * s, w + s, h + s), fill=70)
        mask = mask.filter(ImageFilter.GaussianBlur(1.5))
        p.im.paste(BLACK, (x - s, top - s), mask)
    p.fill(x, top, w, h, TOOLTIP)
    p.frame(x, top, w, h, BLACK, BLACK)
    for i, line in enumerate(lines):
        p.text(x + 1 + pad_x, top + 1 + pad_y + i * lh, lh, line, px, BLACK)


def icon_view(p, x0, y0, w, level, texts, highlight):
    """The desktop icons in rows, one of them selected, and the pointer over the last one. Returns the
    pointer's hot spot x and the top of its tooltip, which leaves the hovered icon's label readable."""
    s = level.spacing
    columns = max(1, (w - 4) // s)
    lh = p.line_height(level.text_px)
    label_width = s - 2
    for i, name in enumerate(shapes.DESKTOP_ICONS):
        cx = x0 + 2 + (i % columns) * s
        cy = y0 + 4 + (i // columns) * s
        ix = cx + (s - level.icon) // 2
        iy = cy + 2
        selected = i == SELECTED_ITEM
        image = p.icon(name, level.icon)
        p.put(selected_icon(image, highlight, p.smooth) if selected else image, ix, iy)
        lines = wrap(p, texts.items[i], level.text_px, label_width, None if selected else 2)
        ty = iy + level.icon + 4
        if selected:
            bw = max(p.width(line, level.text_px) for line in lines) + 4
            p.fill(cx + (s - bw) // 2, ty - 1, bw, len(lines) * lh + 2, highlight)
        for k, line in enumerate(lines):
            lw = p.width(line, level.text_px)
            p.text(cx + (s - lw) // 2, ty + k * lh, lh, line, level.text_px, WHITE if selected else BLACK)
        if i == HOVERED_ITEM:
            label_bottom = ty + len(lines) * lh
            hovered = (ix, iy, label_bottom)
    ix, iy, label_bottom = hovered
    # On the icon, and high enough that the pointer's tail stays above the label.
    label_top = iy + level.icon + 4
    pointer_h = pointer_masks(level.pointer)[0].size[1]
    hot_x = ix + level.icon * 9 // 16
    hot_y = iy + max(4, min(level.icon * 3 // 8, label_top - pointer_h - 1 - iy))
    draw_pointer(p, hot_x, hot_y, level.pointer)
    return hot_x, label_bottom + 4


def selected_icon(image, highlight, smooth):
    """A selected icon: blended half and half with the selection colour (XP), or dithered with it (2000)."""
    rgb = image.convert('RGB')
    if smooth:
        tinted = Image.blend(rgb, Image.new('RGB', rgb.size, highlight), 0.5)
    else:
        checker = Image.new('L', rgb.size, 0)
        checker.putdata([255 if (x + y) % 2 else 0 for y in range(rgb.size[1]) for x in range(rgb.size[0])])
        tinted = Image.composite(Image.new('RGB', rgb.size, highlight), rgb, checker)
    out = tinted.convert('RGBA')
    out.putalpha(image.getchannel('A'))
    return out


def menu_band(p, x, y, w, h, items, px):
    """The menu's items from left to right; those that do not fit give way to a chevron."""
    pad = round(px * 6 / 11)
    chevron = '\u00bb'
    chevron_w = p.width(chevron, px) + 2 * pad
    end = x + w
    for i, item in enumerate(items):
        iw = p.width(item, px) + 2 * pad
        rest = sum(p.width(t, px) + 2 * pad for t in items[i + 1:])
        if x + iw + rest > end and x + iw > end - chevron_w:
            p.text(end - chevron_w + pad, y, h, chevron, px, BLACK)
            return
        p.text(x + pad, y, h, item, px, BLACK)
        x += iw


# --- Windows XP look ---------------------------------------------------------------------------------------

XP_FACE = (236, 233, 216)
XP_HIGHLIGHT = (49, 106, 197)
XP_FRAME = [(0, 25, 150), (8, 72, 228), (0, 84, 240), (0, 70, 218)]       # from the outside in
XP_TITLE = [(0.00, (16, 96, 246)), (0.05, (70, 150, 255)), (0.11, (34, 120, 252)), (0.24, (0, 88, 238)),
            (0.55, (0, 84, 228)), (0.82, (2, 98, 248)), (0.93, (0, 86, 236)), (1.00, (0, 62, 212))]
XP_BLUE_BUTTON = [(0.0, (150, 190, 255)), (0.25, (62, 128, 255)), (0.75, (36, 96, 238)), (1.0, (70, 135, 255))]
XP_RED_BUTTON = [(0.0, (250, 165, 135)), (0.25, (232, 96, 58)), (0.75, (206, 58, 20)), (1.0, (228, 110, 75))]
XP_BAND_LINE = (255, 255, 255)
XP_BAND_SHADE = (203, 199, 184)
XP_COMBO_BORDER = (127, 157, 185)


def xp_caption_button(size, stops, glyph):
    """One caption button (minimise, maximise or close), anti-aliased, as an RGBA image."""
    f = 4
    n = size * f
    g = size / 21
    grad = shapes.gradient((n, n), stops).convert('RGBA')
    big = Image.new('RGBA', (n, n), (0, 0, 0, 0))
    body = Image.new('L', (n, n), 0)
    ImageDraw.Draw(body).rounded_rectangle((0, 0, n - 1, n - 1), radius=3 * f * g, fill=255)
    big.paste(WHITE + (255,), (0, 0), body)
    inner = Image.new('L', (n, n), 0)
    ImageDraw.Draw(inner).rounded_rectangle((f, f, n - 1 - f, n - 1 - f), radius=2 * f * g, fill=255)
    big.paste(grad, (0, 0), inner)
    d = ImageDraw.Draw(big)
    t = max(1, round(g)) * f
    if glyph == 'min':
        d.rectangle((5 * g * f, 13 * g * f, 12 * g * f, 13 * g * f + 3 * t - 1), fill=WHITE)
    elif glyph == 'max':
        x0, y0, x1, y1 = 5 * g * f, 5 * g * f, 16 * g * f, 16 * g * f
        d.rectangle((x0, y0, x1, y1), fill=WHITE)
        window = Image.new('L', (n, n), 0)
        ImageDraw.Draw(window).rectangle((x0 + t, y0 + 3 * t, x1 - t, y1 - t), fill=255)
        big.paste(grad, (0, 0), window)
    else:
        w = round(2.2 * g * f)
        a, b = 6 * g * f, 15 * g * f
        d.line((a, a, b, b), fill=WHITE, width=w)
        d.line((a, b, b, a), fill=WHITE, width=w)
    return big.convert('RGBa').resize((size, size), Image.Resampling.BOX).convert('RGBA')


def xp_window(size, level, texts, fonts):
    width, height = size
    im = Image.new('RGB', size, XP_FACE)
    p = Painter(im, fonts, smooth=True)
    border = 4
    title_h = level.xp_caption + border
    px = level.text_px

    # Title bar with rounded top corners and its dark outer line, over the dialog's face colour.
    outer = supersampled_mask((width, title_h), lambda d, f: d.rounded_rectangle(
        (0, 0, width * f - 1, (title_h + 12) * f), radius=8 * f, fill=255))
    inner = supersampled_mask((width, title_h), lambda d, f: d.rounded_rectangle(
        (f, f, width * f - 1 - f, (title_h + 12) * f), radius=7 * f, fill=255))
    bar = Image.composite(shapes.gradient((width, title_h), XP_TITLE), Image.new('RGB', (width, title_h),
                                                                                 XP_FRAME[0]), inner)
    im.paste(bar, (0, 0), outer)

    # Frame: left, right and bottom.
    for i, colour in enumerate(XP_FRAME):
        p.fill(i, title_h, 1, height - title_h - i, colour)
        p.fill(width - 1 - i, title_h, 1, height - title_h - i, colour)
        p.fill(i, height - 1 - i, width - 2 * i, 1, colour)

    # Caption: icon, title with its shadow, buttons.
    small = level.caption_icon
    p.put(p.icon('desktop', small), border + 3, border + (level.xp_caption - small) // 2)
    tx = border + 3 + small + 5
    p.text(tx + 1, border + 1, level.xp_caption, texts.title, level.xp_title_px, (10, 24, 131), bold=True)
    p.text(tx, border, level.xp_caption, texts.title, level.xp_title_px, WHITE, bold=True)
    bs = level.xp_caption - 5
    by = border + (level.xp_caption - bs) // 2
    bx = width - border - 1 - bs
    for glyph, stops in (('close', XP_RED_BUTTON), ('max', XP_BLUE_BUTTON), ('min', XP_BLUE_BUTTON)):
        p.put(xp_caption_button(bs, stops, glyph), bx, by)
        bx -= bs + 2

    left, right = border, width - border
    y = title_h

    # Menu band: the menu, with a chevron for the items that do not fit.
    menu_h = px + 10
    p.fill(left, y, right - left, 1, XP_BAND_LINE)
    menu_band(p, left + 4, y + 1, right - left - 8, menu_h - 2, texts.menu, px)
    p.fill(left, y + menu_h - 1, right - left, 1, XP_BAND_SHADE)
    y += menu_h

    # Address band.
    combo_h = px + 11
    band_h = combo_h + 6
    p.fill(left, y, right - left, 1, XP_BAND_LINE)
    label_w = p.width(texts.address, px)
    p.text(left + 6, y, band_h, texts.address, px, (90, 90, 90))
    arrow = 16 if px < 16 else 20
    go_w = arrow + 4 + p.width(texts.go, px) + 6
    go_x = right - 4 - go_w
    p.put(p.icon('go', arrow), go_x + 3, y + (band_h - arrow) // 2)
    p.text(go_x + 3 + arrow + 4, y, band_h, texts.go, px, BLACK)
    cx0 = left + 6 + label_w + 6
    cw = go_x - 4 - cx0
    cy0 = y + 3
    p.fill(cx0, cy0, cw, combo_h, WHITE)
    p.frame(cx0, cy0, cw, combo_h, XP_COMBO_BORDER, XP_COMBO_BORDER)
    p.put(p.icon('desktop', 16), cx0 + 3, cy0 + (combo_h - 16) // 2)
    p.text(cx0 + 3 + 16 + 5, cy0, combo_h, texts.title, px, BLACK)
    db = combo_h - 4
    dx = cx0 + cw - 2 - db
    p.paste_gradient(dx, cy0 + 2, db, combo_h - 4, [(0, (220, 232, 255)), (1, (182, 204, 250))])
    p.frame(dx, cy0 + 2, db, combo_h - 4, (198, 214, 252), (160, 182, 236))
    tri = max(2, db // 5)
    ax, ay = dx + db // 2, cy0 + combo_h // 2 + tri // 2
    p.d.polygon([(ax - tri, ay - tri), (ax + tri, ay - tri), (ax, ay)], fill=(77, 97, 133))
    p.fill(left, y + band_h - 1, right - left, 1, XP_BAND_SHADE)
    y += band_h

    # Status bar, then the client area between.
    status_h = px + 11
    sy = height - border - status_h
    p.fill(left, sy, right - left, 1, (255, 255, 255))
    zone_w = p.width(texts.zone, px) + 16 + 4 + 24
    zx = right - zone_w
    p.text(left + 6, sy, status_h, texts.objects_xp, px, BLACK)
    p.fill(zx - 2, sy + 3, 1, status_h - 6, XP_BAND_SHADE)
    p.fill(zx - 1, sy + 3, 1, status_h - 6, WHITE)
    p.put(p.icon('computer', 16), zx + 3, sy + (status_h - 16) // 2)
    p.text(zx + 3 + 16 + 4, sy, status_h, texts.zone, px, BLACK)
    for gx, gy in ((3, 3), (3, 7), (3, 11), (7, 7), (7, 11), (11, 11)):
        p.fill(right - 1 - gx - 1, height - border - 1 - (14 - gy) - 1 + 2, 2, 2, (184, 180, 162))
        p.fill(right - 1 - gx, height - border - 1 - (14 - gy) + 2, 1, 1, WHITE)

    p.fill(left, y, right - left, sy - y, WHITE)
    hot_x, tip_y = icon_view(p, left, y, right - left, level, texts, XP_HIGHLIGHT)
    draw_tooltip(p, hot_x, tip_y, texts.tip, px, right, shadow=True)
    return im


# --- Windows 2000 look -------------------------------------------------------------------------------------

FACE = (212, 208, 200)
SHADOW = (128, 128, 128)
DARK = (64, 64, 64)
CAPTION = [(0, (10, 36, 106)), (1, (166, 202, 240))]
HIGHLIGHT = (10, 36, 106)


def raised(p, x, y, w, h, outer_light=FACE):
    p.frame(x, y, w, h, outer_light, DARK)
    p.frame(x + 1, y + 1, w - 2, h - 2, WHITE if outer_light == FACE else FACE, SHADOW)


def sunken(p, x, y, w, h):
    p.frame(x, y, w, h, SHADOW, WHITE)
    p.frame(x + 1, y + 1, w - 2, h - 2, DARK, FACE)


def crisp_glyph(size, draw):
    """A 1-bit glyph mask: draw(ImageDraw, f) paints at 8 times the size; half coverage sets a pixel."""
    return supersampled_mask(size, draw, factor=8).point(lambda a: 255 if a >= 128 else 0)


def classic_caption_button(p, x, y, w, h, glyph):
    p.fill(x, y, w, h, FACE)
    raised(p, x, y, w, h, outer_light=WHITE)
    g = h / 14
    t = max(1, round(g))
    cx, cy = x + (w - 1) // 2, y + (h - 1) // 2
    if glyph == 'min':
        p.fill(cx - round(3 * g), cy + round(2 * g), round(6 * g), 2 * t, BLACK)
    elif glyph == 'max':
        bw, bh = round(9 * g), round(8 * g)
        bx, by = cx - bw // 2 - 1, cy - bh // 2 - 1
        p.frame(bx, by, bw, bh, BLACK, BLACK)
        p.fill(bx, by + 1, bw, t, BLACK)
    else:
        n = round(8 * g)
        mask = crisp_glyph((n, n - 1), lambda d, f: (
            d.line((0.9 * f, 0.6 * f, (n - 0.9) * f, (n - 1.4) * f), fill=255, width=round(1.9 * t * f)),
            d.line((0.9 * f, (n - 1.4) * f, (n - 0.9) * f, 0.6 * f), fill=255, width=round(1.9 * t * f))))
        p.im.paste(BLACK, (cx - n // 2, cy - (n - 1) // 2), mask)


def gripper(p, x, y, h):
    p.frame(x, y, 3, h, WHITE, SHADOW)


def classic_window(size, level, texts, fonts):
    width, height = size
    im = Image.new('RGB', size, FACE)
    p = Painter(im, fonts, smooth=False)
    px = level.text_px
    p.frame(0, 0, width, height, FACE, DARK)
    p.frame(1, 1, width - 2, height - 2, WHITE, SHADOW)
    border = 4
    left, right = border, width - border

    # Caption.
    cap = level.classic_caption
    p.paste_gradient(left, border, right - left, cap, CAPTION, vertical=False)
    small = min(level.caption_icon, cap - 2)
    p.put(p.icon('desktop', small), left + 2, border + (cap - small) // 2)
    p.text(left + 2 + small + 3, border, cap, texts.title, level.classic_title_px, WHITE, bold=True)
    bh = cap - 4
    bw = bh + 2
    bx = right - 2 - bw
    by = border + 2
    classic_caption_button(p, bx, by, bw, bh, 'close')
    bx -= 2 + bw
    classic_caption_button(p, bx, by, bw, bh, 'max')
    bx -= bw
    classic_caption_button(p, bx, by, bw, bh, 'min')
    y = border + cap + 1

    # Menu band and address band of the rebar, each with its gripper, etched lines between.
    p.fill(left, y, right - left, 1, SHADOW)
    p.fill(left, y + 1, right - left, 1, WHITE)
    y += 2
    menu_h = px + 10
    gripper(p, left + 2, y + 2, menu_h - 4)
    menu_band(p, left + 8, y, right - left - 10, menu_h, texts.menu, px)
    y += menu_h
    p.fill(left, y, right - left, 1, SHADOW)
    p.fill(left, y + 1, right - left, 1, WHITE)
    y += 2
    combo_h = px + 10
    band_h = combo_h + 4
    gripper(p, left + 2, y + 2, band_h - 4)
    label_w = p.width(texts.address, px)
    p.text(left + 9, y, band_h, texts.address, px, BLACK)
    arrow = 16 if px < 16 else 20
    go_w = arrow + 4 + p.width(texts.go, px) + 6
    go_x = right - 2 - go_w
    p.put(p.icon('go', arrow), go_x + 3, y + (band_h - arrow) // 2)
    p.text(go_x + 3 + arrow + 4, y, band_h, texts.go, px, BLACK)
    cx0 = left + 9 + label_w + 5
    cw = go_x - 4 - cx0
    cy0 = y + 2
    p.fill(cx0, cy0, cw, combo_h, WHITE)
    sunken(p, cx0, cy0, cw, combo_h)
    p.put(p.icon('desktop', 16), cx0 + 4, cy0 + (combo_h - 16) // 2)
    p.text(cx0 + 4 + 16 + 4, cy0, combo_h, texts.title, px, BLACK)
    db = combo_h - 4
    dx = cx0 + cw - 2 - db
    p.fill(dx, cy0 + 2, db, db, FACE)
    raised(p, dx, cy0 + 2, db, db, outer_light=FACE)
    tri = max(2, db // 5)
    ax, ay = dx + (db - 1) // 2, cy0 + 2 + (db - 1) // 2 + tri // 2
    p.d.polygon([(ax - tri, ay - tri), (ax + tri, ay - tri), (ax, ay)], fill=BLACK)
    y += band_h
    p.fill(left, y, right - left, 1, SHADOW)
    p.fill(left, y + 1, right - left, 1, WHITE)
    y += 2

    # Status bar with two sunken panes and the size grip, then the sunken client area.
    status_h = px + 9
    sy = height - border - status_h
    zone_w = p.width(texts.zone, px) + 16 + 10 + 16
    zx = right - zone_w
    p.frame(left, sy + 2, zx - left - 2, status_h - 2, SHADOW, WHITE)
    p.text(left + 3, sy + 2, status_h - 2, texts.objects_classic, px, BLACK)
    p.frame(zx, sy + 2, zone_w, status_h - 2, SHADOW, WHITE)
    p.put(p.icon('computer', 16), zx + 3, sy + 2 + (status_h - 2 - 16) // 2)
    p.text(zx + 3 + 16 + 4, sy + 2, status_h - 2, texts.zone, px, BLACK)
    for i in range(3):
        o = 4 * i + 3
        p.d.line((right - 1, height - border - 1 - o, right - 1 - o, height - border - 1), fill=WHITE)
        p.d.line((right - 1, height - border - o, right - o, height - border - 1), fill=SHADOW)
        p.d.line((right - 1, height - border + 1 - o, right + 1 - o, height - border - 1), fill=SHADOW)

    view_bottom = sy
    sunken(p, left, y, right - left, view_bottom - y)
    p.fill(left + 2, y + 2, right - left - 4, view_bottom - y - 4, WHITE)
    hot_x, tip_y = icon_view(p, left + 2, y + 2, right - left - 4, level, texts, HIGHLIGHT)
    draw_tooltip(p, hot_x, tip_y, texts.tip, px, right - 2, shadow=False)
    return im


def picture(look, level, language, size, fonts):
    """The folder window at one size level, in the XP look ('xp') or the 2000 look ('w2k')."""
    draw = xp_window if look == 'xp' else classic_window
    return draw(size, LEVELS[level], TEXTS[language], fonts)
