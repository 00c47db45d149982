"""One palette, one type scale and the dialog-unit grid shared by every picture of the skin."""
import os

from PIL import ImageFont

# The dark blues the programs paint themselves: the wizard window's brush and the dialogs' brush. Pictures that sit
# on those windows use the same values, so that control backgrounds and pictures meet without a seam.
WINDOW = (31, 27, 64)
DIALOG = (48, 51, 86)
PANEL = (255, 255, 255)  # page controls are black on white
PANEL_INK = (0, 0, 0)

INK = (255, 255, 255)  # text on the dark blues
INK_SOFT = (198, 202, 236)  # secondary text on the dark blues
PANEL_TITLE = (36, 62, 150)  # panel titles on white
PANEL_RULE = (214, 219, 238)
PANEL_EDGE = (150, 158, 206)
ACCENT = (86, 164, 255)
ACCENT_DEEP = (44, 104, 214)
RULE = (68, 66, 122)  # hairlines on the window blue
FRAME_LIGHT = (92, 98, 150)  # inner bevel of the dialog pictures
SHADOW = (12, 10, 30)

WARN = (255, 196, 32)
GOOD = (46, 178, 92)
BAD = (222, 62, 62)

GRAPHITE_TOP = (86, 92, 140)
GRAPHITE_BOTTOM = (40, 42, 78)
METAL_TOP = (236, 238, 246)
METAL_BOTTOM = (156, 162, 184)

# Greys that LR_LOADMAP3DCOLORS swaps for the system's 3-D colours: a button strip must not contain them.
MAPPED_3D_GREYS = {(128, 128, 128), (192, 192, 192), (223, 223, 223)}

# Type scale in pixels (Arial-compatible faces, so texts measure as the dialogs' own Arial does).
TITLE = 22
HEADING = 15
BODY = 13
SMALL = 11
BUTTON = 13
WORDMARK = 30

LINE = {TITLE: 28, HEADING: 20, BODY: 18, SMALL: 14}

_FONT_DIRS = ["/usr/share/fonts/truetype/liberation2", "/usr/share/fonts/truetype/liberation"]
_FACES = {"regular": "LiberationSans-Regular.ttf", "bold": "LiberationSans-Bold.ttf"}
_cache = {}


def font(size, weight="regular"):
    key = (size, weight)
    if key not in _cache:
        for d in _FONT_DIRS:
            path = os.path.join(d, _FACES[weight])
            if os.path.exists(path):
                _cache[key] = ImageFont.truetype(path, size)
                break
        else:
            raise FileNotFoundError("Liberation Sans is missing (Debian package fonts-liberation2)")
    return _cache[key]


# Dialog units to pixels. The pictures' sizes (a 305 x 155 page is 458 x 271, a 263 x 74 dialog 395 x 130, the
# 400 x 209 window 600 x 366) are those of dialog base units of 6 x 14 pixels, rounded as MulDiv rounds; controls
# that sit over a picture are placed with the same conversion.
BASE_X = 6
BASE_Y = 14


def _muldiv(value, num, den):
    return (2 * value * num + den) // (2 * den)


def du_x(x):
    return _muldiv(x, BASE_X, 4)


def du_y(y):
    return _muldiv(y, BASE_Y, 8)


def du_rect(x, y, w, h):
    """Left, top, right, bottom in pixels of a dialog-unit rectangle."""
    return du_x(x), du_y(y), du_x(x + w), du_y(y + h)
