"""Drawing helpers: shapes drawn four times oversize and reduced (smooth edges at 100 %), texts drawn at final size
(crisp, hinted), vertical gradients, and the glyphs that several pictures share."""
from PIL import Image, ImageDraw

from . import style

SS = 4  # oversampling of shapes


class Canvas:
    def __init__(self, size, background):
        self.size = size
        self.image = Image.new("RGB", size, background)

    @classmethod
    def over(cls, image):
        """A canvas that draws on an existing picture."""
        canvas = cls(image.size, (0, 0, 0))
        canvas.image = image
        return canvas

    # Shapes -------------------------------------------------------------------------------------------------------
    def shapes(self, paint, box=None):
        """paint(draw, s) draws on a transparent layer where every coordinate is multiplied by s; the layer is
        reduced and laid over the picture (inside box, when given, to keep the work small)."""
        left, top, right, bottom = box or (0, 0, self.size[0], self.size[1])
        w, h = right - left, bottom - top
        layer = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
        paint(Shifted(layer, -left, -top), SS)
        small = layer.resize((w, h), Image.Resampling.BOX)
        self.image.paste(small, (left, top), small)

    def rect(self, box, fill):
        ImageDraw.Draw(self.image).rectangle([box[0], box[1], box[2] - 1, box[3] - 1], fill=fill)

    def gradient(self, box, top, bottom):
        """Vertical gradient over box (left, top, right, bottom; right and bottom exclusive)."""
        left, y0, right, y1 = box
        draw = ImageDraw.Draw(self.image)
        n = max(1, y1 - y0 - 1)
        for y in range(y0, y1):
            t = (y - y0) / n
            colour = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
            draw.line([(left, y), (right - 1, y)], fill=colour)

    def paste(self, image, xy):
        if image.mode == "RGBA":
            self.image.paste(image, xy, image)
        else:
            self.image.paste(image, xy)

    # Texts --------------------------------------------------------------------------------------------------------
    def text(self, xy, text, size, fill, weight="regular", anchor="la"):
        ImageDraw.Draw(self.image).text(xy, text, font=style.font(size, weight), fill=fill, anchor=anchor)

    def paragraph(self, xy, text, size, fill, width, weight="regular", line=None):
        """Word-wrapped text from the top-left corner xy; returns the y below the last line."""
        x, y = xy
        line = line or style.LINE[size]
        for row in wrap(text, size, width, weight):
            self.text((x, y), row, size, fill, weight)
            y += line
        return y


def text_width(text, size, weight="regular"):
    return style.font(size, weight).getlength(text)


def wrap(text, size, width, weight="regular"):
    rows = []
    for part in text.split("\n"):
        words = part.split(" ")
        row = ""
        for word in words:
            candidate = word if not row else row + " " + word
            if row and text_width(candidate, size, weight) > width:
                rows.append(row)
                row = word
            else:
                row = candidate
        rows.append(row)
    return rows


class Shifted:
    """An ImageDraw whose coordinates are given in final pixels, shifted by an offset and multiplied by SS."""

    def __init__(self, layer, dx, dy):
        self.layer = layer
        self.dx, self.dy = dx, dy

    def _with(self, fill, outline, paint):
        """Opaque colours are drawn straight onto the layer; translucent ones are composited over it, so a glow
        laid over a body tints it instead of punching a hole through it."""
        colours = [c for c in (fill, outline) if c is not None]
        if all(len(c) == 3 or c[3] == 255 for c in colours):
            paint(ImageDraw.Draw(self.layer))
            return
        over = Image.new("RGBA", self.layer.size, (0, 0, 0, 0))
        paint(ImageDraw.Draw(over))
        self.layer.alpha_composite(over)

    def _p(self, pts):
        out = []
        for i, v in enumerate(pts):
            out.append((v + (self.dx if i % 2 == 0 else self.dy)) * SS)
        return out

    def _flat(self, xy):
        flat = []
        for v in xy:
            if isinstance(v, (tuple, list)):
                flat.extend(v)
            else:
                flat.append(v)
        return flat

    def rounded(self, box, radius, fill=None, outline=None, width=1):
        self._with(fill, outline, lambda dr: dr.rounded_rectangle(self._p(box), radius * SS, fill=fill, outline=outline,
                                                               width=round(width * SS)))

    def ellipse(self, box, fill=None, outline=None, width=1):
        self._with(fill, outline, lambda dr: dr.ellipse(self._p(box), fill=fill, outline=outline,
                                                     width=round(width * SS)))

    def polygon(self, pts, fill=None):
        self._with(fill, None, lambda dr: dr.polygon(self._p(self._flat(pts)), fill=fill))

    def line(self, pts, fill, width=1, joint="curve"):
        self._with(fill, None, lambda dr: dr.line(self._p(self._flat(pts)), fill=fill, width=round(width * SS),
                                               joint=joint))

    def arc(self, box, start, end, fill, width=1):
        self._with(fill, None, lambda dr: dr.arc(self._p(box), start, end, fill=fill, width=round(width * SS)))

    def rect(self, box, fill):
        self._with(fill, None, lambda dr: dr.rectangle(self._p(box), fill=fill))


def vertical(top, bottom, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))


def gradient_image(size, top, bottom, radius=0, alpha=255):
    """An RGBA tile filled with a vertical gradient and, with a radius, rounded corners (smooth edges)."""
    w, h = size
    tile = Image.new("RGBA", size)
    draw = ImageDraw.Draw(tile)
    for y in range(h):
        draw.line([(0, y), (w - 1, y)], fill=vertical(top, bottom, y / max(1, h - 1)) + (alpha,))
    if radius:
        mask = Image.new("L", (w * SS, h * SS), 0)
        ImageDraw.Draw(mask).rounded_rectangle([0, 0, w * SS - 1, h * SS - 1], radius * SS, fill=255)
        mask = mask.resize(size, Image.Resampling.BOX)
        if alpha != 255:
            mask = mask.point(lambda v: v * alpha // 255)
        tile.putalpha(mask)
    return tile


# Shared glyphs -------------------------------------------------------------------------------------------------------
# Each takes the drawing proxy of Canvas.shapes, the glyph's box in final pixels, and draws inside it.

def appliance(d, box, lit=True):
    """The Zentrive appliance seen from the front: a graphite box with two drive bays and a status light."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    r = max(1.5, min(w, h) * 0.14)
    d.rounded(box, r, fill=style.SHADOW)
    inset = max(0.75, min(w, h) * 0.05)
    d.rounded((x0 + inset, y0 + inset, x1 - inset, y1 - inset), r - inset * 0.6, fill=style.GRAPHITE_TOP)
    d.rounded((x0 + inset, y0 + h * 0.42, x1 - inset, y1 - inset), r - inset * 0.6, fill=style.GRAPHITE_BOTTOM)
    d.rect((x0 + inset, y0 + h * 0.42, x1 - inset, y0 + h * 0.42 + r), style.GRAPHITE_BOTTOM)
    bay_w = max(1.0, h * 0.09)
    for k in (0.30, 0.52):
        y = y0 + h * k
        d.rounded((x0 + w * 0.16, y, x1 - w * 0.16, y + bay_w), bay_w / 2, fill=(24, 24, 50))
    light = style.ACCENT if lit else (96, 100, 140)
    lr = max(1.1, min(w, h) * 0.075)
    cx, cy = x1 - w * 0.22, y1 - h * 0.2
    if lit:
        d.ellipse((cx - lr * 2.2, cy - lr * 2.2, cx + lr * 2.2, cy + lr * 2.2), fill=style.ACCENT + (70,))
    d.ellipse((cx - lr, cy - lr, cx + lr, cy + lr), fill=light)
    d.rounded((x0 + w * 0.16, cy - lr * 0.5, x0 + w * 0.5, cy + lr * 0.5), lr * 0.5, fill=(70, 74, 118))


def computer(d, box):
    """A monitor on a stand."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    screen = (x0, y0, x1, y0 + h * 0.72)
    d.rounded(screen, w * 0.08, fill=(150, 156, 196))
    d.rounded((x0 + w * 0.07, y0 + h * 0.08, x1 - w * 0.07, y0 + h * 0.64), w * 0.04, fill=(26, 40, 96))
    d.rounded((x0 + w * 0.07, y0 + h * 0.08, x1 - w * 0.07, y0 + h * 0.30), w * 0.04, fill=(46, 76, 160))
    d.rect((x0 + w * 0.07, y0 + h * 0.22, x1 - w * 0.07, y0 + h * 0.30), (46, 76, 160))
    d.polygon([(x0 + w * 0.40, y0 + h * 0.72), (x0 + w * 0.60, y0 + h * 0.72), (x0 + w * 0.66, y1 - h * 0.06),
               (x0 + w * 0.34, y1 - h * 0.06)], fill=(120, 126, 170))
    d.rounded((x0 + w * 0.22, y1 - h * 0.1, x1 - w * 0.22, y1), h * 0.05, fill=(150, 156, 196))


def usb_stick(d, box, body=style.ACCENT_DEEP):
    """A USB flash disk standing upright, connector at the top."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    cx = (x0 + x1) / 2
    plug_w = w * 0.56
    d.rect((cx - plug_w / 2, y0, cx + plug_w / 2, y0 + h * 0.34), (176, 182, 204))
    d.rect((cx - plug_w / 2, y0, cx + plug_w / 2, y0 + h * 0.06), (214, 218, 232))
    hole = plug_w * 0.22
    for k in (-1, 1):
        hx = cx + k * plug_w * 0.22
        d.rect((hx - hole / 2, y0 + h * 0.11, hx + hole / 2, y0 + h * 0.20), (70, 74, 100))
    d.rounded((x0, y0 + h * 0.30, x1, y1), w * 0.2, fill=(20, 30, 80))
    d.rounded((x0 + w * 0.08, y0 + h * 0.32, x1 - w * 0.08, y1 - h * 0.03), w * 0.16, fill=body)
    d.rounded((x0 + w * 0.25, y0 + h * 0.46, x1 - w * 0.25, y0 + h * 0.54), w * 0.04, fill=(150, 196, 255))


def badge(d, centre, radius, colour, mark):
    """A round status badge with a mark: "tick", "cross", "exclaim", "eject" or "link"."""
    cx, cy = centre
    r = radius
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=style.SHADOW + (150,))
    d.ellipse((cx - r * 0.94, cy - r * 0.94, cx + r * 0.94, cy + r * 0.94), fill=colour)
    ink = (255, 255, 255) if mark != "exclaim" else (54, 40, 8)
    stroke = r * 0.24
    if mark == "tick":
        d.line([(cx - r * 0.45, cy + r * 0.02), (cx - r * 0.12, cy + r * 0.36), (cx + r * 0.48, cy - r * 0.34)],
               ink, stroke)
    elif mark == "cross":
        k = r * 0.36
        d.line([(cx - k, cy - k), (cx + k, cy + k)], ink, stroke)
        d.line([(cx - k, cy + k), (cx + k, cy - k)], ink, stroke)
    elif mark == "exclaim":
        d.rounded((cx - stroke / 2, cy - r * 0.56, cx + stroke / 2, cy + r * 0.16), stroke / 2, fill=ink)
        d.ellipse((cx - stroke * 0.6, cy + r * 0.32, cx + stroke * 0.6, cy + r * 0.32 + stroke * 1.2), fill=ink)
    elif mark == "eject":
        d.polygon([(cx, cy - r * 0.52), (cx + r * 0.48, cy + r * 0.04), (cx - r * 0.48, cy + r * 0.04)], fill=ink)
        d.rect((cx - r * 0.48, cy + r * 0.2, cx + r * 0.48, cy + r * 0.4), ink)
    elif mark == "link":
        k = r * 0.42
        d.line([(cx - k, cy), (cx + k, cy)], ink, stroke * 0.8)
        d.ellipse((cx - k - stroke, cy - stroke, cx - k + stroke, cy + stroke), fill=ink)
        d.ellipse((cx + k - stroke, cy - stroke, cx + k + stroke, cy + stroke), fill=ink)


def warning_triangle(d, box):
    """A yellow warning triangle with an exclamation mark."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    cx = (x0 + x1) / 2
    d.line([(cx, y0 + h * 0.06), (x1 - w * 0.04, y1 - h * 0.05), (x0 + w * 0.04, y1 - h * 0.05), (cx, y0 + h * 0.06)],
           style.WARN, w * 0.1, joint="curve")
    d.polygon([(cx, y0 + h * 0.06), (x1 - w * 0.04, y1 - h * 0.05), (x0 + w * 0.04, y1 - h * 0.05)], fill=style.WARN)
    s = w * 0.1
    d.rounded((cx - s / 2, y0 + h * 0.32, cx + s / 2, y0 + h * 0.7), s / 2, fill=(54, 40, 8))
    d.ellipse((cx - s * 0.6, y0 + h * 0.76, cx + s * 0.6, y0 + h * 0.76 + s * 1.2), fill=(54, 40, 8))
