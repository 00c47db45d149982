"""The contact sheet: every picture of both programs on one page, at 100 %, labelled with its id and name."""
from PIL import Image, ImageDraw

from . import style as st
from .pictures import catalogue, FRAME

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


def contact_sheet():
    tiles = _tiles()
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
