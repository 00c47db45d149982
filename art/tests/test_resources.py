"""The committed pictures as the programs will load them: every id of the resource include files, its number, its
file, its size and the colours the windows that show it rely on.

The table below is written from the programs' own descriptions (ids, sizes, where controls sit), not from the
generator, so a slip in the generator's catalogue shows here."""
import os
import re
import unittest

from zskin import formats

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

PAGE = (458, 271)
DIALOG_PICTURE = (395, 130)
STRIP = (264, 26)
ANIMATION = (266, 95)  # the operation dialog, 177 x 54 dialog units

WIZARD = {
    137: ("BITMAP", (600, 366)),
    142: ("BITMAP", STRIP), 143: ("BITMAP", STRIP), 170: ("BITMAP", STRIP), 171: ("BITMAP", STRIP),
    174: ("BITMAP", STRIP), 175: ("BITMAP", STRIP), 184: ("BITMAP", STRIP), 193: ("BITMAP", STRIP),
    196: ("BITMAP", STRIP), 203: ("BITMAP", STRIP), 214: ("BITMAP", STRIP), 215: ("BITMAP", STRIP),
    220: ("BITMAP", STRIP), 221: ("BITMAP", STRIP), 224: ("BITMAP", STRIP), 225: ("BITMAP", STRIP),
    228: ("BITMAP", STRIP),
    161: ("BITMAP", (30, 16)), 162: ("BITMAP", (30, 16)),
    178: ("BITMAP", ANIMATION), 179: ("BITMAP", ANIMATION), 180: ("BITMAP", ANIMATION), 181: ("BITMAP", ANIMATION),
    197: ("BITMAP", ANIMATION), 198: ("BITMAP", ANIMATION), 199: ("BITMAP", ANIMATION), 200: ("BITMAP", ANIMATION),
    185: ("BITMAP", PAGE), 186: ("BITMAP", PAGE), 194: ("BITMAP", PAGE), 195: ("BITMAP", PAGE),
    212: ("BITMAP", PAGE), 213: ("BITMAP", PAGE),
    204: ("BITMAP", DIALOG_PICTURE), 205: ("BITMAP", DIALOG_PICTURE), 218: ("BITMAP", DIALOG_PICTURE),
    223: ("BITMAP", DIALOG_PICTURE),
    216: ("ICON", None),
}
TRAY = {128: ("ICON", None), 143: ("ICON", None), 144: ("BITMAP", (18, 18))}

WINDOW_BLUE = (31, 27, 64)
DIALOG_BLUE = (48, 51, 86)
WHITE = (255, 255, 255)
MAPPED_GREYS = {(128, 128, 128), (192, 192, 192), (223, 223, 223)}


def px(x_du, y_du):
    """Dialog units to pixels at the 6 x 14 base units that the page and dialog picture sizes stand for."""
    return (2 * x_du * 6 + 4) // 8, (2 * y_du * 14 + 8) // 16


def parse(program):
    folder = os.path.join(REPO, program, "res", "art")
    with open(os.path.join(folder, "ArtIds.h")) as f:
        ids = {m.group(1): int(m.group(2)) for m in re.finditer(r"^#define\s+(ID\w+)\s+(\d+)", f.read(), re.M)}
    entries = {}
    with open(os.path.join(folder, "bitmaps.rc")) as f:
        text = f.read()
    for m in re.finditer(r'^(ID\w+)\s+(BITMAP|ICON)\s+"([^"]+)"\s*$', text, re.M):
        entries[m.group(1)] = (m.group(2), m.group(3))
    return ids, entries, text


def load(program, number):
    ids, entries, _ = parse(program)
    name = next(n for n, v in ids.items() if v == number)
    kind, path = entries[name]
    with open(os.path.join(REPO, program, "res", path), "rb") as f:
        data = f.read()
    return formats.read_bmp(data) if kind == "BITMAP" else formats.read_ico(data)


class IncludeFilesTest(unittest.TestCase):
    def check_program(self, program, table):
        ids, entries, text = parse(program)
        self.assertIn('#include "ArtIds.h"', text)
        self.assertEqual(sorted(ids.values()), sorted(table), "ids in ArtIds.h")
        self.assertEqual(len(set(ids.values())), len(ids), "an id number is used twice")
        self.assertEqual(set(entries), set(ids), "every named id has one line in bitmaps.rc and no more")
        for name, number in ids.items():
            kind, path = entries[name]
            with self.subTest(program=program, id=number):
                self.assertEqual(kind, table[number][0])
                self.assertTrue(path.startswith("art/"), "paths are relative to %s/res/" % program)
                with open(os.path.join(REPO, program, "res", path), "rb") as f:
                    data = f.read()
                if kind == "BITMAP":
                    image = formats.read_bmp(data)  # raises unless an uncompressed 24-bit BMP
                    self.assertEqual(image.size, table[number][1])
                else:
                    sizes = {im.size[0] for im in formats.read_ico(data)}
                    self.assertTrue({16, 32} <= sizes, "small and large icon sizes: %s" % sorted(sizes))

    def test_wizard(self):
        self.check_program("wizard", WIZARD)

    def test_tray(self):
        self.check_program("tray", TRAY)

    def test_shortcut_icon_file_is_where_the_installer_takes_it_from(self):
        with open(os.path.join(REPO, "wizard", "res", "art", "Zentrive.ico"), "rb") as f:
            sizes = {im.size for im in formats.read_ico(f.read())}
        self.assertIn((32, 32), sizes)


class PictureRulesTest(unittest.TestCase):
    def test_button_strips_avoid_the_greys_that_loading_remaps(self):
        for number, (kind, size) in WIZARD.items():
            if size != STRIP:
                continue
            with self.subTest(id=number):
                colours = {c for _, c in load("wizard", number).getcolors(STRIP[0] * STRIP[1])}
                self.assertFalse(colours & MAPPED_GREYS)

    def test_the_three_looks_of_a_strip_differ(self):
        for number, (kind, size) in WIZARD.items():
            if size != STRIP:
                continue
            image = load("wizard", number)
            looks = [image.crop((i * 88, 0, (i + 1) * 88, 26)).tobytes() for i in range(3)]
            with self.subTest(id=number):
                self.assertEqual(len(set(looks)), 3, "normal, pressed and highlighted must be told apart")

    def test_tree_images_are_masked_by_white(self):
        for program, number in (("wizard", 161), ("wizard", 162), ("tray", 144)):
            image = load(program, number)
            w, h = image.size
            with self.subTest(id=number):
                corners = {image.getpixel((x, y)) for x in (0, w - 1) for y in (0, h - 1)}
                self.assertEqual(corners, {WHITE}, "the background is the mask colour")
                glyph = [c for c in image.getdata() if c != WHITE]
                self.assertGreater(len(glyph), w * h // 3, "the glyph is there")
                # Near-white haze would survive the mask as a pale fringe.
                self.assertFalse([c for c in glyph if min(c) >= 250])
        self.assertNotEqual(load("wizard", 161).tobytes(), load("wizard", 162).tobytes())

    def test_device_list_panel_is_white_under_the_tree_and_the_list(self):
        image = load("wizard", 195)
        for name, (x, y, w, h) in (("tree 1012", (19, 22, 81, 67)), ("list 1010", (103, 22, 187, 85))):
            left, top = px(x, y)
            right, bottom = px(x + w, y + h)
            with self.subTest(name):
                colours = {c for _, c in image.crop((left - 2, top - 2, right + 2, bottom + 2)).getcolors(1 << 16)}
                self.assertEqual(colours, {WHITE})

    def test_summary_panel_is_white_behind_labels_and_values(self):
        image = load("wizard", 194)
        left, _ = px(42, 0)
        right, _ = px(137 + 129, 0)
        # Seven rows of 8-unit statics; wherever the template puts them, the band from the panel's title rule to
        # its foot must be plain white from the label column to the end of the values.
        colours = {c for _, c in image.crop((left - 4, 122, right + 2, 252)).getcolors(1 << 16)}
        self.assertEqual(colours, {WHITE})

    def test_notice_pictures_leave_the_icon_and_name_of_the_shortcut_notice_plain(self):
        image = load("wizard", 218)
        icon_x, icon_y = px(21, 20)
        name_left, name_top = px(16, 42)
        name_right, name_bottom = px(16 + 41, 42 + 15)
        box = (min(icon_x, name_left) - 2, icon_y - 2, max(icon_x + 32, name_right) + 2, name_bottom + 2)
        self.assertEqual({c for _, c in image.crop(box).getcolors(1 << 16)}, {DIALOG_BLUE})

    def test_dialog_buttons_sit_on_plain_dialog_blue(self):
        # Template 217: OK at 74,55 and Cancel at 138,55; template 192: Redo at 74,54 and OK at 138,54; 88 x 26 each.
        for number, row in ((223, 55), (205, 54), (204, 54), (218, 54)):
            image = load("wizard", number)
            for x in (74, 138):
                left, top = px(x, row)
                with self.subTest(id=number, x=x):
                    crop = image.crop((left - 1, top - 1, left + 89, min(top + 27, 129)))
                    self.assertEqual({c for _, c in crop.getcolors(1 << 16)}, {DIALOG_BLUE})

    def test_dialog_pictures_are_dialog_blue_and_animations_fill_from_their_corner(self):
        for number, (kind, size) in WIZARD.items():
            if size not in (DIALOG_PICTURE, ANIMATION):
                continue
            image = load("wizard", number)
            with self.subTest(id=number):
                # The centred picture control fills round a smaller picture with its top-left pixel.
                corner = image.getpixel((0, 0)) if size == ANIMATION else image.getpixel((2, size[1] - 3))
                self.assertEqual(corner, DIALOG_BLUE)

    def test_animations_draw_only_in_the_rows_a_shorter_picture_control_shows(self):
        # At 6 x 12 base units the 54-unit picture control is 81 pixels high and shows the middle of the image.
        for number in (178, 179, 180, 181, 197, 198, 199, 200):
            image = load("wizard", number)
            hidden = (95 - 81) // 2
            with self.subTest(id=number):
                for band in ((0, 0, 266, hidden), (0, 95 - hidden, 266, 95)):
                    self.assertEqual({c for _, c in image.crop(band).getcolors(1 << 16)}, {DIALOG_BLUE})

    def test_animation_frames_differ_within_each_animation(self):
        for first in (178, 197):
            frames = [load("wizard", first + i).tobytes() for i in range(4)]
            with self.subTest(first=first):
                self.assertEqual(len(set(frames)), 4)

    def test_pages_meet_the_window_in_its_own_blue(self):
        for number, (kind, size) in WIZARD.items():
            if size != PAGE:
                continue
            image = load("wizard", number)
            w, h = PAGE
            edge = {image.getpixel((x, 0)) for x in range(w)} | {image.getpixel((w - 1, y)) for y in range(h)}
            with self.subTest(id=number):
                self.assertEqual(edge, {WINDOW_BLUE})

    def test_wizard_window_keeps_the_page_place_and_the_caption_band_plain(self):
        image = load("wizard", 137)
        left, top = px(0, 54)
        page = image.crop((left, top + 2, left + PAGE[0] - 1, 366))
        self.assertEqual({c for _, c in page.getcolors(1 << 16)}, {WINDOW_BLUE})
        caption = image.crop((0, 0, 600, 26))
        self.assertEqual({c for _, c in caption.getcolors(1 << 16)}, {WINDOW_BLUE})


if __name__ == "__main__":
    unittest.main()
