"""The contact sheet: every picture of both programs on one page, at 100 %, labelled with its id and name."""
from PIL import Image, ImageDraw

from . import style as st
from .pictures import catalogue, FRAME, NOTICE, PAGE

PAD = 14
WIDTH = 1240
LABEL = 16
SHEET_BG = (236, 237, 242)


def _tiles():
    tiles = []
    for p in catalogue():
        rendered = p.render()
        if p.kind == "BITMAP":
            image = rendered
            if p.size[0] == FRAME[0] * 3 and p.size[1] == FRAME[1]:
                # Show a strip on the ground it is made for, its three looks apart.
                image = Image.new("RGB", (FRAME[0] * 3 + 16, FRAME[1] + 12), rendered.getpixel((0, 0)))
                for i in range(3):
                    image.paste(rendered.crop((i * FRAME[0], 0, (i + 1) * FRAME[0], FRAME[1])),
                                (4 + i * (FRAME[0] + 4), 6))
            elif p.size[0] <= 32:
                image = _zoomed(rendered, 3)
        else:
            image = _icon_row(rendered)
        tiles.append(("%s %d  %s" % (p.program, p.number, p.name), image))
    tiles += _mockups()
    # How pages and notices come out where the dialog font gives 6 x 12 base units (Wine's Arial 8): squeezed to
    # 6/7 of their height, averaged as a HALFTONE stretch averages.
    for p in catalogue():
        if p.kind == "BITMAP" and p.size in (PAGE, NOTICE):
            squeezed = p.render().resize((p.size[0], p.size[1] * 12 // 14), Image.Resampling.BOX)
            tiles.append(("%d %s at 6 x 12 base units" % (p.number, p.name), squeezed))
    return tiles


def _zoomed(image, n):
    """Small pictures at 100 % and, beside them, three times as large."""
    w, h = image.size
    out = Image.new("RGB", (w + 6 + w * n, h * n), SHEET_BG)
    out.paste(image, (0, 0))
    out.paste(image.resize((w * n, h * n), Image.Resampling.NEAREST), (w + 6, 0))
    return out


def _icon_row(images):
    height = max(im.size[1] for im in images)
    width = sum(im.size[0] + 6 for im in images)
    row = Image.new("RGB", (width * 2 + 6, height), SHEET_BG)
    x = 0
    for ground in (SHEET_BG, st.WINDOW):
        for im in images:
            back = Image.new("RGB", im.size, ground)
            back.paste(im, (0, 0), im)
            row.paste(back, (x, height - im.size[1]))
            x += im.size[0] + 6
        x += 6
    return row


def screenshot_tiles(folder):
    """PNG screenshots of the programs' windows (from the Wine test runs' artifacts), at 100 %, by file name."""
    import os
    tiles = []
    for root, _, names in sorted(os.walk(folder)):
        for name in sorted(names):
            if name.endswith(".png") and name != "contact-sheet.png":
                with Image.open(os.path.join(root, name)) as shot:
                    tiles.append(("screenshot: " + os.path.relpath(os.path.join(root, name), folder),
                                  shot.convert("RGB")))
    return tiles


def contact_sheet(screens=None):
    tiles = _tiles() + (screenshot_tiles(screens) if screens else [])
    placed = []
    x = y = PAD
    row_h = 0
    for label, image in tiles:
        w, h = image.size
        w = max(w, int(st.font(st.SMALL).getlength(label)) + 10)
        if x + w > WIDTH - PAD and x > PAD:
            x = PAD
            y += row_h + PAD
            row_h = 0
        placed.append((x, y, label, image))
        x += w + PAD
        row_h = max(row_h, h + LABEL)
    sheet = Image.new("RGB", (WIDTH, y + row_h + PAD), SHEET_BG)
    draw = ImageDraw.Draw(sheet)
    for x, y, label, image in placed:
        draw.text((x, y), label, font=st.font(st.SMALL), fill=(40, 40, 60))
        sheet.paste(image, (x, y + LABEL))
    return sheet


def _mockups():
    """The wizard window and two dialogs put together from their pictures, with buttons where the art folder's
    README suggests them, to judge the skin as a whole. Illustrations only: the templates decide the places."""
    pics = {p.number: p for p in catalogue() if p.program == "wizard"}

    def button(canvas, number, xy, look=0):
        strip = pics[number].render()
        canvas.paste(strip.crop((look * FRAME[0], 0, (look + 1) * FRAME[0], FRAME[1])), xy)

    def rounded(image, radius):
        mask = Image.new("L", (image.size[0] * 4, image.size[1] * 4), 0)
        ImageDraw.Draw(mask).rounded_rectangle([0, 0, mask.size[0] - 1, mask.size[1] - 1], radius * 4, fill=255)
        out = Image.new("RGB", image.size, SHEET_BG)
        out.paste(image, (0, 0), mask.resize(image.size, Image.Resampling.BOX))
        return out

    shots = []
    for page, buttons in ((185, ((170, 0), (225, 0), (215, 2), (184, 0))),
                          (194, ((174, 0), (193, 2))),
                          (195, ((171, 2), (174, 0)))):
        window = pics[137].render().copy()
        window.paste(pics[page].render(), (0, 95))
        button(window, 142, (420, 38))
        button(window, 143, (507, 38))
        for row, (number, look) in enumerate(buttons):
            button(window, number, (485, 108 + row * 35), look)
        if page == 195:
            button(window, 175, (29, 95 + 163))
        shots.append(("mock-up: window with page %d" % page, rounded(window, 20)))
    for number, buttons in ((223, ((196, 111), (221, 207))), (205, ((220, 111), (184, 207)))):
        dialog = pics[number].render().copy()
        for strip, x in buttons:
            button(dialog, strip, (x, 95))
        shots.append(("mock-up: dialog %d" % number, dialog))
    return shots
