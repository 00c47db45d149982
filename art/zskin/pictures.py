"""The catalogue: every picture of both programs with its resource id, name, file and drawing.

Texts drawn into the pictures are the programs' own texts and stay as they are. Where controls of a dialog template
sit over a picture, their rectangles are given here in dialog units, converted with style.du_rect, and the picture
leaves room for them (white panels under page controls, plain dialog blue under the notice's icon and name)."""
from dataclasses import dataclass, field
from typing import Callable, Optional

from PIL import Image

from . import draw as dr
from . import style as st
from .draw import Canvas

WIZARD = "wizard"
TRAY = "tray"

PAGE = (st.du_x(305), st.du_y(155))  # 458 x 271
NOTICE = (st.du_x(263), st.du_y(74))  # 395 x 130
WINDOW = (st.du_x(400), st.du_y(209))  # 600 x 366
ANIMATION = (st.du_x(177), st.du_y(54))  # 266 x 95
FRAME = (88, 26)  # one look of a push button
STRIP = (FRAME[0] * 3, FRAME[1])
ICON_SIZES = (16, 24, 32, 48)


@dataclass
class Picture:
    program: str
    number: int
    name: str  # the resource id's macro
    file: str  # file name inside <program>/res/art/
    kind: str  # "BITMAP" or "ICON"
    size: Optional[tuple]  # bitmaps only
    paint: Callable = field(repr=False)
    note: str = ""

    def render(self):
        """A bitmap's RGB image, or an icon's list of RGBA images."""
        return self.paint()


# --------------------------------------------------------------------------------------------------------------------
# Wizard window, pages and dialogs

WINDOW_PAGE_TOP = st.du_y(54)  # the page placeholder 1006 at 0,54
BAR_LEFT = PAGE[0]  # the button column right of the page


def wordmark(c, x, y, size=st.WORDMARK):
    c.text((x, y), "Zentrive", size, st.INK, "bold")


def window_background():
    c = Canvas(WINDOW, st.WINDOW)
    # Band above the page: the product's mark. The top 26 rows stay plain: the caption painter may draw there.
    c.shapes(lambda d, s: dr.appliance(d, (26, 36, 62, 78)), (20, 30, 70, 84))
    wordmark(c, 74, 36)
    c.text((76, 70), "Network storage setup", st.BODY, st.INK_SOFT)
    c.rect((24, WINDOW_PAGE_TOP - 4, WINDOW[0] - 24, WINDOW_PAGE_TOP - 3), st.RULE)
    c.shapes(lambda d, s: d.rounded((24, WINDOW_PAGE_TOP - 5, 120, WINDOW_PAGE_TOP - 2), 1.5, fill=st.ACCENT),
             (20, WINDOW_PAGE_TOP - 8, 124, WINDOW_PAGE_TOP))
    # Button column: a hairline divides it from the page.
    c.rect((BAR_LEFT, WINDOW_PAGE_TOP + 14, BAR_LEFT + 1, WINDOW[1] - 24), st.RULE)
    return c.image


def page_base(title=None):
    c = Canvas(PAGE, st.WINDOW)
    if title:
        c.text((24, 14), title, st.TITLE, st.INK, "bold")
    return c


def panel(c, box, title=None, title_x=None):
    """A white panel for page controls; the title sits inside its top edge."""
    x0, y0, x1, y1 = box
    c.shapes(lambda d, s: (d.rounded((x0 - 1, y0 - 1, x1 + 1, y1 + 1), 9, fill=(14, 12, 34)),
                           d.rounded(box, 8, fill=st.PANEL)),
             (x0 - 4, y0 - 4, x1 + 4, y1 + 4))
    if title:
        tx = title_x if title_x is not None else x0 + 14
        c.text((tx, y0 + 9), title, st.HEADING, st.PANEL_TITLE, "bold")
        c.rect((tx, y0 + 31, x1 - 14, y0 + 32), st.PANEL_RULE)


def bullet_lines(c, x, y, lines, size=st.BODY, colour=st.INK, gap=8):
    for text in lines:
        c.shapes(lambda d, s, yy=y: d.ellipse((x, yy + 6, x + 6, yy + 12), fill=st.ACCENT), (x - 2, y, x + 10, y + 18))
        c.text((x + 14, y), text, size, colour)
        y += st.LINE[size] + gap
    return y


HERO = (338, 62, 426, 196)
CARD = (43, 39, 90)
CARD_EDGE = (62, 58, 118)


def welcome_page():
    c = page_base("Welcome!")
    c.text((24, 50), "Thanks for choosing NAS!", st.HEADING, st.ACCENT, "bold")
    card(c, (16, 84, 320, 206))
    bullet_lines(c, 32, 102, ['Click "Setup" to configure your server.',
                              'Click "Drivelet" to install the Drivelet Utility.',
                              'Click "User Guide" to read user manual.'], gap=18)
    hero(c, HERO)
    return c.image


def card(c, box):
    """A slightly lighter field on the window blue that groups a few lines of text."""
    c.shapes(lambda d, s: (d.rounded(box, 8, fill=CARD_EDGE),
                           d.rounded((box[0] + 1, box[1] + 1, box[2] - 1, box[3] - 1), 7, fill=CARD)),
             (box[0] - 2, box[1] - 2, box[2] + 2, box[3] + 2))


def hero(c, box, mark=None):
    """The appliance drawn large, standing on a soft glow."""
    x0, y0, x1, y1 = box

    def paint(d, s):
        cx = (x0 + x1) / 2
        for k, a in ((1.0, 26), (0.75, 34), (0.5, 44)):
            rw = (x1 - x0) * 0.7 * k
            d.ellipse((cx - rw, y1 - 8 * k, cx + rw, y1 + 8 * k), fill=st.ACCENT + (a,))
        dr.appliance(d, (x0, y0, x1, y1 - 4))
        if mark:
            dr.badge(d, (x1 - 6, y0 + 10), 17, mark[0], mark[1])

    c.shapes(paint, (x0 - 40, y0 - 12, min(PAGE[0], x1 + 40), min(PAGE[1], y1 + 12)))


def finish_page():
    c = page_base("Save Successfully!")
    c.text((24, 50), "Your NAS is ready to work. You may:", st.HEADING, st.ACCENT, "bold")
    card(c, (16, 84, 320, 176))
    y = 102
    for n, text in (("1.", 'Press "Drivelet" to install the Drivelet utility.'),
                    ("2.", 'Press "Exit" to close this setup utility.')):
        c.text((32, y), n, st.BODY, st.ACCENT, "bold")
        c.text((50, y), text, st.BODY, st.INK)
        y += 36
    hero(c, HERO, (st.GOOD, "tick"))
    return c.image


# Summary: labels at x = 42 and values at x = 137 (dialog units) of template 136, seven rows.
SUMMARY_PANEL = (28, 84, 430, 262)
SUMMARY_LABEL_X = st.du_x(42)


def summary_page():
    c = page_base("Setup Completed!")
    c.paragraph((24, 44), 'If all settings are correct, please press "Save" button to save new settings. '
                          'If not, please press "Back" to resume setup procedure.', st.BODY, st.INK_SOFT, 410)
    panel(c, SUMMARY_PANEL, "New Settings", SUMMARY_LABEL_X)
    return c.image


# Device list: tree 1012 at 19,22 (81 x 67) and list 1010 at 103,22 (187 x 85) of template 132.
DEVICE_TREE = st.du_rect(19, 22, 81, 67)
DEVICE_LIST = st.du_rect(103, 22, 187, 85)
DEVICE_PANEL = (16, 8, 442, 204)


def device_list_page():
    c = page_base()
    panel(c, DEVICE_PANEL)
    c.text((DEVICE_TREE[0], 16), "Devices", st.HEADING, st.PANEL_TITLE, "bold")
    c.text((DEVICE_LIST[0], 16), "Device Settings", st.HEADING, st.PANEL_TITLE, "bold")
    c.paragraph((24, 214), 'Select your NAS in the list to read its settings, then press "Next". '
                           'Press "Refresh" to search the network again.', st.BODY, st.INK_SOFT, 410)
    return c.image


FORM_PANEL = (16, 8, 442, 200)


def ip_settings_page():
    c = page_base()
    panel(c, FORM_PANEL, "IP Settings")
    c.paragraph((24, 210), "Please make sure that IP, Subnet Mask, and Gateway addresses of this device are in same "
                           "segment (first 3 fields) with your computer.  If not, you may not able to locate Zentrive.",
                st.BODY, st.INK_SOFT, 414)
    return c.image


def server_page():
    c = page_base()
    panel(c, FORM_PANEL, "Server Settings")
    c.paragraph((24, 210), "The server name is how your NAS appears on the network: up to 14 characters, without "
                           "spaces. Date and time set the clock of the device.", st.BODY, st.INK_SOFT, 414)
    return c.image


# Dialog pictures (templates 217 and 192): buttons at 74,55 / 138,55 (217) and 74,54 / 138,54 (192), 88 x 26 pixels
# once they carry their strips; the notice's icon at 21,20 and its name text at 16,42 (41 x 15).
NOTICE_BUTTON_TOP = st.du_y(54)
NOTICE_ICON = (st.du_x(21), st.du_y(20))
NOTICE_NAME = st.du_rect(16, 42, 41, 15)


def notice_base():
    c = Canvas(NOTICE, st.DIALOG)
    w, h = NOTICE
    c.gradient((0, 0, w, 34), (58, 62, 104), st.DIALOG)
    c.rect((0, 0, w, 1), (0, 0, 0))
    c.rect((0, h - 1, w, h), (0, 0, 0))
    c.rect((0, 0, 1, h), (0, 0, 0))
    c.rect((w - 1, 0, w, h), (0, 0, 0))
    c.rect((1, 1, w - 1, 2), st.FRAME_LIGHT)
    return c


def notice_text(c, x, y, title, lines, line=st.LINE[st.BODY]):
    c.text((x, y), title, st.HEADING, st.INK, "bold")
    y += 24
    for text in lines:
        c.text((x, y), text, st.BODY, st.INK_SOFT)
        y += line


def button_rule(c):
    c.rect((16, NOTICE_BUTTON_TOP - 8, NOTICE[0] - 16, NOTICE_BUTTON_TOP - 7), (66, 70, 112))


def confirm_dialog():
    c = notice_base()
    c.shapes(lambda d, s: dr.warning_triangle(d, (18, 14, 66, 60)), (14, 10, 70, 64))
    notice_text(c, 80, 16, "You are about to change the settings.",
                ['Press "OK" to save new settings.', 'Press "Cancel" if you want to keep current settings.'])
    button_rule(c)
    return c.image


def success_dialog():
    c = notice_base()
    c.shapes(lambda d, s: dr.badge(d, (42, 65), 24, st.GOOD, "tick"), (14, 37, 70, 93))
    c.text((80, 65), "New settings are saved successfully!", st.HEADING, st.INK, "bold", anchor="lm")
    return c.image


def failure_dialog():
    c = notice_base()
    c.shapes(lambda d, s: dr.badge(d, (42, 38), 24, st.BAD, "cross"), (14, 10, 70, 66))
    notice_text(c, 80, 10, "Saving configurations is failed!",
                ["Please check your network condition.", 'Press "Redo" to process setup again.',
                 'Press "Exit" to terminate setup.'], line=17)
    button_rule(c)
    return c.image


def shortcut_dialog():
    # The notice shows icon 216 and the server name in white over the left part; that part stays plain.
    c = notice_base()
    plain_right = max(NOTICE_ICON[0] + 32, NOTICE_NAME[2]) + 10
    c.rect((plain_right, 36, plain_right + 1, 96), (66, 70, 112))
    c.text((plain_right + 14, 58), "Shortcut is created successfully!", st.HEADING, st.INK, "bold", anchor="lm")
    c.text((plain_right + 14, 80), "You will find it on your desktop.", st.BODY, st.INK_SOFT, anchor="lm")
    return c.image


# Operation dialog animations (template 100, picture 1111 over the whole dialog): four frames each.
def animation_base(text):
    c = Canvas(ANIMATION, st.DIALOG)
    c.text((ANIMATION[0] // 2, 76), text, st.BODY, st.INK, anchor="mm")
    return c


def search_frame(k):
    c = animation_base("Searching for devices ...")

    def paint(d, s):
        dr.computer(d, (34, 16, 78, 58))
        cx, cy = 82, 37
        for i in range(4):
            r = 20 + i * 13
            lit = (i == k)
            colour = st.ACCENT if lit else (84, 90, 140)
            d.arc((cx - r, cy - r, cx + r, cy + r), -30, 30, colour, 3.2 if lit else 2.4)
        dr.appliance(d, (196, 20, 232, 58), lit=(k == 3))

    c.shapes(paint, (20, 4, 250, 64))
    return c.image


def saving_frame(k):
    c = animation_base("Saving settings to the device ...")

    def paint(d, s):
        dr.computer(d, (34, 16, 78, 58))
        dr.appliance(d, (196, 20, 232, 58), lit=True)
        for i in range(5):
            x = 96 + i * 20
            on = i in (k, k + 1)
            colour = st.ACCENT if on else (84, 90, 140)
            d.line([(x, 29), (x + 7, 37), (x, 45)], colour, 3.2 if on else 2.6)

    c.shapes(paint, (20, 4, 250, 64))
    return c.image


# --------------------------------------------------------------------------------------------------------------------
# Push-button strips: three 88 x 26 looks side by side, normal, pressed, highlighted.

BUTTON_LOOKS = {
    # look: (gradient top, gradient bottom, edge, label colour)
    "neutral": ((84, 90, 156), (54, 58, 116), (118, 126, 196), st.INK),
    "primary": ((92, 168, 255), (40, 104, 214), (150, 200, 255), st.INK),
}


def _tile(look, state, ground):
    top, bottom, edge, _ = BUTTON_LOOKS[look]
    if state == "pressed":
        top, bottom = dr.vertical(bottom, (0, 0, 0), 0.25), dr.vertical(top, (0, 0, 0), 0.15)
        edge = dr.vertical(edge, (0, 0, 0), 0.35)
    elif state == "hover":
        top, bottom = dr.vertical(top, (255, 255, 255), 0.22), dr.vertical(bottom, (255, 255, 255), 0.14)
        edge = dr.vertical(edge, (255, 255, 255), 0.45)
    frame = Image.new("RGB", FRAME, ground)
    outer = dr.gradient_image(FRAME, edge, dr.vertical(edge, (0, 0, 0), 0.3), radius=4)
    frame.paste(outer, (0, 0), outer)
    inner = dr.gradient_image((FRAME[0] - 2, FRAME[1] - 2), top, bottom, radius=3)
    frame.paste(inner, (1, 1), inner)
    return frame


def text_strip(label, look="neutral", ground=st.WINDOW):
    strip = Image.new("RGB", STRIP, ground)
    for i, state in enumerate(("normal", "pressed", "hover")):
        c = Canvas.over(_tile(look, state, ground))
        shift = 1 if state == "pressed" else 0
        centre = (FRAME[0] // 2 + shift, FRAME[1] // 2 + shift)
        c.text((centre[0], centre[1] + 1), label, st.BUTTON, (10, 14, 40), "bold", anchor="mm")
        c.text(centre, label, st.BUTTON, BUTTON_LOOKS[look][3], "bold", anchor="mm")
        strip.paste(c.image, (i * FRAME[0], 0))
    return strip


def round_strip(mark, hover_colour):
    strip = Image.new("RGB", STRIP, st.WINDOW)
    for i, state in enumerate(("normal", "pressed", "hover")):
        c = Canvas(FRAME, st.WINDOW)
        ring = {"normal": (140, 146, 204), "pressed": (96, 100, 160), "hover": (255, 255, 255)}[state]
        fill = {"normal": (52, 50, 104), "pressed": (22, 20, 50), "hover": hover_colour}[state]
        shift = 1 if state == "pressed" else 0

        def paint(d, s, ring=ring, fill=fill, shift=shift):
            cx, cy, r = 44 + shift, 13 + shift, 10.5
            d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=ring)
            d.ellipse((cx - r + 1.6, cy - r + 1.6, cx + r - 1.6, cy + r - 1.6), fill=fill)
            k = 4.2
            if mark == "minus":
                d.line([(cx - k, cy), (cx + k, cy)], (255, 255, 255), 2.2)
            else:
                d.line([(cx - k * 0.85, cy - k * 0.85), (cx + k * 0.85, cy + k * 0.85)], (255, 255, 255), 2.2)
                d.line([(cx - k * 0.85, cy + k * 0.85), (cx + k * 0.85, cy - k * 0.85)], (255, 255, 255), 2.2)

        c.shapes(paint)
        strip.paste(c.image, (i * FRAME[0], 0))
    return strip


# Where a strip is shown decides the colour of its rounded corners.
SHARED_GROUND = tuple((a + b) // 2 for a, b in zip(st.WINDOW, st.DIALOG))


# --------------------------------------------------------------------------------------------------------------------
# Tree images (white is their mask colour) and icons

def tree_device(lit):
    c = Canvas((30, 16), (255, 255, 255))
    c.shapes(lambda d, s: dr.appliance(d, (3, 1, 27, 15), lit=lit))
    return _snap_haze_to_mask(c.image)


def tray_usb_disk():
    c = Canvas((18, 18), (255, 255, 255))

    def paint(d, s):
        dr.appliance(d, (0.5, 3.5, 11.5, 17.5), lit=True)
        dr.usb_stick(d, (12, 2, 17.5, 15.5))

    c.shapes(paint)
    return _snap_haze_to_mask(c.image)


def _snap_haze_to_mask(image):
    """Edge pixels within a hair of white become white, so that the image list's white mask takes them out."""
    px = image.load()
    for y in range(image.size[1]):
        for x in range(image.size[0]):
            if px[x, y] == (255, 255, 255):
                continue
            r, g, b = px[x, y]
            if r >= 250 and g >= 250 and b >= 250:
                px[x, y] = (255, 255, 255)  # edge haze reads as background
    return image


def icon_set(paint):
    images = []
    for size in ICON_SIZES:
        big = Image.new("RGBA", (size * dr.SS, size * dr.SS), (0, 0, 0, 0))
        paint(dr.Shifted(big, 0, 0), size)
        images.append(big.resize((size, size), Image.Resampling.BOX))
    return images


def zentrive_icon():
    def paint(d, n):
        m = n / 16
        dr.appliance(d, (2 * m, 0.5 * m, 14 * m, 15.5 * m), lit=True)

    return icon_set(paint)


def _stick_icon(left, right, symbol):
    """A USB stick between left and right (in sixteenths) with a badge of symbol at its lower right."""
    def paint(d, n):
        m = n / 16
        dr.usb_stick(d, (left * m, 0.5 * m, right * m, 15.5 * m))
        dr.badge(d, (11.5 * m, 11.5 * m), 4.3 * m, st.GOOD, symbol)

    return icon_set(paint)


def utility_icon():
    return _stick_icon(3, 11, "link")


def safe_remove_icon():
    return _stick_icon(2, 10, "eject")


# --------------------------------------------------------------------------------------------------------------------

def _bmp(program, number, name, file, size, paint, note=""):
    return Picture(program, number, name, file, "BITMAP", size, paint, note)


def _ico(program, number, name, file, paint, note=""):
    return Picture(program, number, name, file, "ICON", None, paint, note)


def _strip(number, name, file, label, look="neutral", ground=st.WINDOW):
    return _bmp(WIZARD, number, name, file, STRIP, lambda: text_strip(label, look, ground), 'push button "%s"' % label)


def catalogue():
    """Every picture, in resource-id order per program."""
    pictures = [
        _bmp(WIZARD, 137, "IDB_WIZARD", "wizard.bmp", WINDOW, window_background, "wizard window background"),
        _bmp(WIZARD, 142, "IDB_BTN_MINIMIZE", "btn_minimize.bmp", STRIP,
             lambda: round_strip("minus", st.ACCENT_DEEP), "minimise: a minus sign in a circle"),
        _bmp(WIZARD, 143, "IDB_BTN_CLOSE", "btn_close.bmp", STRIP,
             lambda: round_strip("cross", st.BAD), "close: a cross in a circle"),
        _strip(170, "IDB_BTN_SETUP", "btn_setup.bmp", "Setup", "primary"),
        _strip(171, "IDB_BTN_NEXT", "btn_next.bmp", "Next", "primary"),
        _strip(174, "IDB_BTN_BACK", "btn_back.bmp", "Back"),
        _strip(175, "IDB_BTN_REFRESH", "btn_refresh.bmp", "Refresh", ground=st.PANEL),
        _bmp(WIZARD, 161, "IDB_TREE_DEVICE", "tree_device.bmp", (30, 16), lambda: tree_device(False),
             "device tree image"),
        _bmp(WIZARD, 162, "IDB_TREE_DEVICE_SELECTED", "tree_device_selected.bmp", (30, 16),
             lambda: tree_device(True), "device tree image, selected"),
    ]
    for i in range(4):
        pictures.append(_bmp(WIZARD, 178 + i, "IDB_SEARCHING_%d" % (i + 1), "searching_%d.bmp" % (i + 1), ANIMATION,
                             lambda i=i: search_frame(i), "search animation, frame %d" % (i + 1)))
    pictures += [
        _strip(184, "IDB_BTN_EXIT", "btn_exit.bmp", "Exit", ground=SHARED_GROUND),
        _bmp(WIZARD, 185, "IDB_WELCOME", "welcome.bmp", PAGE, welcome_page, "welcome page"),
        _bmp(WIZARD, 186, "IDB_FINISH", "finish.bmp", PAGE, finish_page, "finish page"),
        _strip(193, "IDB_BTN_SAVE", "btn_save.bmp", "Save", "primary"),
        _bmp(WIZARD, 194, "IDB_SUMMARY", "summary.bmp", PAGE, summary_page, "summary page"),
        _bmp(WIZARD, 195, "IDB_DEVICE_LIST", "device_list.bmp", PAGE, device_list_page, "device list page"),
        _strip(196, "IDB_BTN_OK", "btn_ok.bmp", "OK", "primary", st.DIALOG),
    ]
    for i in range(4):
        pictures.append(_bmp(WIZARD, 197 + i, "IDB_SAVING_%d" % (i + 1), "saving_%d.bmp" % (i + 1), ANIMATION,
                             lambda i=i: saving_frame(i), "settings-write animation, frame %d" % (i + 1)))
    pictures += [
        _strip(203, "IDB_BTN_STOP", "btn_stop.bmp", "Stop", ground=st.DIALOG),
        _bmp(WIZARD, 204, "IDB_NOTICE_SAVED", "notice_saved.bmp", NOTICE, success_dialog, "notice: settings saved"),
        _bmp(WIZARD, 205, "IDB_NOTICE_FAILED", "notice_failed.bmp", NOTICE, failure_dialog, "notice: saving failed"),
        _bmp(WIZARD, 212, "IDB_IP_SETTINGS", "ip_settings.bmp", PAGE, ip_settings_page, "IP settings page"),
        _bmp(WIZARD, 213, "IDB_SERVER", "server.bmp", PAGE, server_page, "server name, workgroup and clock page"),
        _strip(214, "IDB_BTN_SHORTCUT", "btn_shortcut.bmp", "Shortcut"),
        _strip(215, "IDB_BTN_USER_GUIDE", "btn_user_guide.bmp", "User Guide"),
        _ico(WIZARD, 216, "IDI_ZENTRIVE", "Zentrive.ico", zentrive_icon,
             "the appliance: shortcut notice; also the desktop shortcut's icon file"),
        _bmp(WIZARD, 218, "IDB_NOTICE_SHORTCUT", "notice_shortcut.bmp", NOTICE, shortcut_dialog,
             "notice: shortcut created"),
        _strip(220, "IDB_BTN_REDO", "btn_redo.bmp", "Redo", ground=st.DIALOG),
        _strip(221, "IDB_BTN_CANCEL", "btn_cancel.bmp", "Cancel", ground=st.DIALOG),
        _bmp(WIZARD, 223, "IDB_CONFIRM", "confirm.bmp", NOTICE, confirm_dialog, "confirmation dialog"),
        _strip(224, "IDB_BTN_WEB_UI", "btn_web_ui.bmp", "Web UI"),
        _strip(225, "IDB_BTN_DRIVELET", "btn_drivelet.bmp", "Drivelet"),
        _strip(228, "IDB_BTN_CONFIRM_EXIT", "btn_confirm_exit.bmp", "Exit", ground=st.DIALOG),
        _ico(TRAY, 128, "IDI_UTILITY", "utility.ico", utility_icon, "tray icon and About box"),
        _ico(TRAY, 143, "IDI_SAFE_REMOVE", "safe_remove.ico", safe_remove_icon, "Safely Remove Network USB"),
        _bmp(TRAY, 144, "IDB_USB_DISK", "usb_disk.bmp", (18, 18), tray_usb_disk, "tree image of a shared USB disk"),
    ]
    return pictures

