"""The named icons that scripts put on their backdrops, cue cards and dialogs, drawn as 32x32
pixel pictures: disks, drives, a form, keys, keyboards, computers, windows, a monitor, mice, a
setup box and waste bins. Used by draw_icon.py --named."""

CLEAR = (0, 0, 0, 0)
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
GREY = (192, 192, 192, 255)
DARK = (96, 96, 96, 255)
SILVER = (210, 214, 220, 255)
BEIGE = (226, 214, 180, 255)
BEIGE_DARK = (170, 158, 124, 255)
BLUE = (30, 70, 200, 255)
SKY = (120, 190, 250, 255)
GREEN = (40, 200, 60, 255)
RED = (210, 40, 40, 255)
GOLD = (230, 180, 40, 255)
GOLD_DARK = (150, 110, 20, 255)

# 3 x 5 digits, one string of 15 characters per digit, rows top to bottom.
DIGITS = ['111101101101111', '010110010010111', '111001111100111', '111001111001111', '101101111001001',
          '111100111001111', '111100111101111', '111001001010010', '111101111101111', '111101111001111']


class Canvas:
    def __init__(self):
        self.px = [[CLEAR] * 32 for _ in range(32)]

    def dot(self, x, y, c):
        if 0 <= x < 32 and 0 <= y < 32:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        """The rectangle from (x0, y0) to (x1, y1), both corners included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def box(self, x0, y0, x1, y1, face, edge=BLACK):
        self.fill(x0, y0, x1, y1, edge)
        self.fill(x0 + 1, y0 + 1, x1 - 1, y1 - 1, face)

    def line(self, x0, y0, x1, y1, c):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.dot(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), c)

    def disc(self, cx, cy, r, c):
        for y in range(32):
            for x in range(32):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.dot(x, y, c)

    def ring(self, cx, cy, r, c):
        for y in range(32):
            for x in range(32):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if r - 0.7 <= d <= r + 0.7:
                    self.dot(x, y, c)

    def number(self, n, x, y, c):
        for k, ch in enumerate(str(n)):
            pattern = DIGITS[int(ch)]
            for i, bit in enumerate(pattern):
                if bit == '1':
                    self.dot(x + 4 * k + i % 3, y + i // 3, c)


def hue(i, n):
    """One of [n] clearly different colours."""
    import colorsys
    r, g, b = colorsys.hsv_to_rgb(i / n, 0.75, 0.85)
    return (int(r * 255), int(g * 255), int(b * 255), 255)


def floppy(c, x, y, body, number=None, size=24):
    s = size
    c.box(x, y, x + s - 1, y + s - 1, body)
    c.dot(x + s - 1, y, CLEAR)  # the cut corner
    c.box(x + s // 4, y, x + s - s // 4 - 1, y + s * 3 // 8, SILVER, DARK)
    c.fill(x + s // 2, y + 2, x + s // 2 + 2, y + s * 3 // 8 - 2, DARK)
    c.box(x + 3, y + s // 2, x + s - 4, y + s - 2, WHITE, DARK)
    if number is not None:
        c.number(number, x + s // 2 - (4 if number >= 10 else 2), y + s // 2 + 3, BLACK)


def disk(n):
    c = Canvas()
    floppy(c, 4, 4, hue(n - 1, 15), n)
    return c


def disks(n):
    c = Canvas()
    count = 2 if n % 2 else 3
    for k in range(count):
        floppy(c, 1 + 5 * k, 1 + 5 * k, hue(n * 3 + k, 12), size=20 - 2 * (count - 2))
    return c


def drive(n):
    c = Canvas()
    c.box(2, 9, 29, 23, GREY)
    c.fill(3, 22, 28, 22, DARK)
    if n == 1:  # a floppy drive: slot and button
        c.fill(7, 14, 24, 15, BLACK)
        c.box(20, 18, 25, 20, SILVER, DARK)
    else:  # a hard disk: grooves
        for y in (13, 16, 19):
            c.line(6, y, 20, y, DARK)
    c.fill(4, 19, 5, 20, GREEN)
    return c


def form():
    c = Canvas()
    c.box(6, 2, 25, 29, WHITE)
    for k, y in enumerate(range(6, 27, 5)):
        c.box(8, y, 11, y + 3, WHITE)
        c.line(13, y + 2, 23 - (k % 2) * 4, y + 2, DARK)
        if k % 2 == 0:
            c.line(9, y + 1, 10, y + 2, RED)
    return c


def key_shape(c, x, y, metal, dark, teeth):
    c.disc(x + 5, y + 5, 5, metal)
    c.ring(x + 5, y + 5, 5, dark)
    c.disc(x + 5, y + 5, 1.5, CLEAR)
    c.fill(x + 10, y + 4, x + 24, y + 6, metal)
    c.line(x + 10, y + 7, x + 24, y + 7, dark)
    for k in range(teeth):
        c.fill(x + 14 + 3 * k, y + 7, x + 15 + 3 * k, y + 9 + (k % 2), metal)


def key(n):
    c = Canvas()
    metals = [(GOLD, GOLD_DARK), (SILVER, DARK), (SKY, BLUE), (GREEN, DARK), (RED, (120, 20, 20, 255)),
              (GOLD, DARK), (WHITE, DARK)]
    metal, dark = metals[n - 1]
    key_shape(c, 2, 10 + (n % 3) - 1, metal, dark, 2 + n % 3)
    return c


def keys(n):
    c = Canvas()
    c.ring(8, 8, 6, DARK)
    for k in range(n + 1):
        metal, dark = [(GOLD, GOLD_DARK), (SILVER, DARK), (SKY, BLUE), (RED, DARK)][k]
        key_shape(c, 3 + 2 * k, 9 + 6 * k, metal, dark, 2 + k)
    return c


def keyboard(n):
    c = Canvas()
    body = [BEIGE, DARK, SILVER][n - 1]
    key = [WHITE, (60, 60, 60, 255), WHITE][n - 1]
    c.box(1, 11, 30, 24, body)
    for row in range(3):
        for col in range(8):
            c.fill(3 + 3 * col + row, 13 + 3 * row, 4 + 3 * col + row, 14 + 3 * row, key)
    c.fill(8, 22, 22, 22, key)
    if n == 3:  # with a mouse
        c.line(28, 11, 28, 6, DARK)
        c.box(25, 2, 30, 7, BEIGE)
    return c


def mac(n):
    c = Canvas()
    screen = [SKY, (40, 40, 40, 255), WHITE, (80, 160, 120, 255)][n - 1]
    c.box(7, 2, 24, 28, BEIGE)
    c.box(9, 4, 22, 15, screen)
    if n == 1:  # the smile
        c.dot(13, 8, BLACK)
        c.dot(18, 8, BLACK)
        c.line(13, 11, 18, 11, BLACK)
    c.fill(14, 20, 21, 20, DARK)
    c.fill(8, 26, 23, 27, BEIGE_DARK)
    return c


def window(c, x0, y0, x1, y1, title=BLUE):
    c.box(x0, y0, x1, y1, WHITE)
    c.fill(x0 + 1, y0 + 1, x1 - 1, y0 + 3, title)
    c.fill(x1 - 3, y0 + 1, x1 - 2, y0 + 2, GREY)


def mdi_child():
    c = Canvas()
    window(c, 5, 7, 26, 24)
    return c


def mdi_parent():
    c = Canvas()
    window(c, 1, 2, 30, 29, (20, 40, 140, 255))
    c.fill(2, 6, 29, 28, GREY)
    window(c, 4, 9, 18, 20)
    window(c, 12, 15, 27, 26, DARK)
    return c


def monitor():
    c = Canvas()
    c.box(3, 3, 28, 22, BEIGE)
    c.box(5, 5, 26, 19, BLUE)
    c.line(7, 7, 12, 7, SKY)
    c.fill(13, 23, 18, 25, BEIGE_DARK)
    c.fill(8, 26, 23, 28, BEIGE)
    return c


def mouse(n):
    c = Canvas()
    body = [BEIGE, DARK, SILVER, WHITE][n - 1]
    c.line(16, 0, 16, 8, BLACK)
    c.box(9, 8, 22, 29, body)
    c.line(10, 14, 21, 14, BLACK)
    buttons = 2 if n % 2 else 3
    for k in range(1, buttons):
        x = 9 + k * 13 // buttons
        c.line(x, 9, x, 14, BLACK)
    if n == 4:
        c.fill(10, 9, 15, 13, RED)
    return c


def pc(n):
    c = Canvas()
    if n % 2:  # a tower
        c.box(9, 2, 22, 29, BEIGE)
        c.fill(11, 5, 20, 6, DARK)
        c.fill(11, 9, 20, 10, DARK)
        c.fill(12, 25, 13, 26, GREEN)
    else:  # a desktop box with its screen on top
        c.box(2, 19, 29, 28, BEIGE)
        c.fill(5, 22, 14, 23, DARK)
        c.fill(25, 25, 26, 26, GREEN)
        c.box(6, 3, 25, 17, BEIGE)
        c.box(8, 5, 23, 14, SKY if n == 2 else BLUE)
    if n > 2:
        c.number(n, 24, 3 if n % 2 else 21, RED)
    return c


def setup():
    c = Canvas()
    c.box(3, 12, 22, 29, (200, 150, 80, 255))
    c.line(3, 12, 9, 5, BLACK)
    c.line(22, 12, 28, 5, BLACK)
    c.line(9, 5, 28, 5, BLACK)
    c.line(22, 29, 28, 23, BLACK)
    c.line(28, 5, 28, 23, BLACK)
    c.fill(10, 16, 15, 16, WHITE)
    for y in range(9):  # an arrow into the box
        half = 8 - y if y >= 5 else 0
        c.fill(12 - half, y, 13 + half, y, GREEN)
    return c


def trash(n, full):
    c = Canvas()
    body = [SILVER, (90, 140, 90, 255), DARK, (120, 120, 200, 255)][n - 1]
    c.box(7, 9, 24, 29, body)
    for x in (11, 15, 19):
        c.line(x, 12, x, 26, BLACK)
    if full:
        c.disc(12, 7, 4, WHITE)
        c.disc(19, 6, 4, (240, 230, 160, 255))
        c.box(5, 9, 26, 10, body)
    else:
        c.box(5, 6, 26, 8, body)
        c.fill(13, 4, 18, 5, BLACK)
    return c


def all_icons():
    """Every named icon as (name, rows of RGBA pixels), in the order of their names."""
    icons = [('DISK%02d' % n, disk(n)) for n in range(1, 16)]
    icons += [('DISKS%02d' % n, disks(n)) for n in range(1, 5)]
    icons += [('DRIVE%02d' % n, drive(n)) for n in range(1, 3)]
    icons += [('FORM', form())]
    icons += [('KEY%02d' % n, key(n)) for n in range(1, 8)]
    icons += [('KEYBRD%02d' % n, keyboard(n)) for n in range(1, 4)]
    icons += [('KEYS%02d' % n, keys(n)) for n in range(1, 4)]
    icons += [('MAC%02d' % n, mac(n)) for n in range(1, 5)]
    icons += [('MDICHILD', mdi_child()), ('MDIPARNT', mdi_parent()), ('MONITR01', monitor())]
    icons += [('MOUSE%02d' % n, mouse(n)) for n in range(1, 5)]
    icons += [('PC%02d' % n, pc(n)) for n in range(1, 5)]
    icons += [('SETUP', setup()), ('TRASH01', trash(1, False)), ('TRASH02A', trash(2, False)),
              ('TRASH02B', trash(2, True)), ('TRASH03', trash(3, True)), ('TRASH04A', trash(4, False)),
              ('TRASH04B', trash(4, True))]
    return [(name, canvas.px) for name, canvas in icons]
