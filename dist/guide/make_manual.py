#!/usr/bin/python3
"""Builds the user guide, Manual.pdf, from its text source and a folder of screenshots.

  make_manual.py SOURCE.txt OUTPUT.pdf [--screenshots DIR] [--version X.Y.Z]

The source is plain text: "title:" and "subtitle:" lines, "# " chapters, "## " sections, paragraphs separated
by blank lines, "- " bullets, "1. " steps, "**bold**", and "[figure NAME.png] Caption" lines. A figure whose
picture is not in the screenshots folder is left out altogether; the figures that are placed are numbered in
order. The title page names the release's version when given. The same inputs give the same bytes: the PDF's
dates come from SOURCE_DATE_EPOCH when it is set, and its identifier from its content. Needs Debian's
python3-reportlab (run with /usr/bin/python3).
"""
import argparse
import os
import re
import sys

from reportlab.lib import colors
from reportlab.lib.enums import TA_CENTER
from reportlab.lib.pagesizes import A4
from reportlab.lib.styles import ParagraphStyle, getSampleStyleSheet
from reportlab.lib.units import mm
from reportlab.platypus import (Image, KeepTogether, ListFlowable, ListItem, PageBreak, Paragraph,
                                SimpleDocTemplate, Spacer)
from reportlab.lib.utils import ImageReader

FIGURE = re.compile(r"^\[figure\s+([^\]\s]+)\]\s*(.*)$")
NUMBERED = re.compile(r"^(\d+)\.\s+(.*)$")
# The heading lines by their mark; "## " before "# ", which it begins with.
HEADINGS = (("title", "title:"), ("subtitle", "subtitle:"), ("section", "## "), ("chapter", "# "))
NAVY = colors.Color(31 / 255, 27 / 255, 64 / 255)


def parse(text):
    """The source as a list of blocks: (kind, value); kinds: title, subtitle, chapter, section, para,
    bullets, steps, figure."""
    blocks = []
    para = []

    def flush():
        if para:
            blocks.append(("para", " ".join(para)))
            para.clear()

    for raw in text.splitlines():
        line = raw.strip()
        if not line:
            flush()
            continue
        m = FIGURE.match(line)
        heading = next(((kind, mark) for kind, mark in HEADINGS if line.startswith(mark)), None)
        step = NUMBERED.match(line)
        listed = ("bullets", line[2:]) if line.startswith("- ") else ("steps", step.group(2)) if step else None
        if heading:
            flush()
            blocks.append((heading[0], line[len(heading[1]):].strip()))
        elif m:
            flush()
            blocks.append(("figure", (m.group(1), m.group(2))))
        elif listed:
            flush()
            kind, item = listed
            if blocks and blocks[-1][0] == kind:
                blocks[-1][1].append(item)
            else:
                blocks.append((kind, [item]))
        elif para or not blocks or blocks[-1][0] not in ("bullets", "steps"):
            para.append(line)
        else:
            # A continuation line of the last list item.
            blocks[-1][1][-1] += " " + line
    flush()
    return blocks


def inline(text):
    """Escapes the text for reportlab's paragraph markup and turns **bold** into <b>."""
    text = text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return re.sub(r"\*\*(.+?)\*\*", r"<b>\1</b>", text)


def styles():
    base = getSampleStyleSheet()
    body = ParagraphStyle("Body", parent=base["BodyText"], fontName="Helvetica", fontSize=10.5, leading=14,
                          spaceAfter=6)
    return {
        "title": ParagraphStyle("Title", parent=base["Title"], fontSize=26, leading=32, textColor=NAVY,
                                spaceBefore=60 * mm, spaceAfter=8 * mm),
        "subtitle": ParagraphStyle("Subtitle", parent=body, fontSize=13, leading=18, alignment=TA_CENTER),
        "chapter": ParagraphStyle("Chapter", parent=base["Heading1"], textColor=NAVY, spaceBefore=4,
                                  spaceAfter=10),
        "section": ParagraphStyle("Section", parent=base["Heading2"], textColor=NAVY, spaceBefore=10,
                                  spaceAfter=6),
        "body": body,
        "caption": ParagraphStyle("Caption", parent=body, fontName="Helvetica-Oblique", fontSize=9,
                                  alignment=TA_CENTER, spaceBefore=3, spaceAfter=10),
    }


def figure(path, caption, number, width, st):
    reader = ImageReader(path)
    w, h = reader.getSize()
    scale = min(1.0, width / w, (110 * mm) / h)
    picture = Image(path, width=w * scale, height=h * scale)
    return KeepTogether([Spacer(1, 4), picture,
                         Paragraph("Figure %d. %s" % (number, inline(caption)), st["caption"])])


def build(source, output, screenshots, version=""):
    with open(source, encoding="utf-8") as f:
        blocks = parse(f.read())
    st = styles()
    doc = SimpleDocTemplate(output, pagesize=A4, leftMargin=22 * mm, rightMargin=22 * mm, topMargin=20 * mm,
                            bottomMargin=20 * mm, title=next((v for k, v in blocks if k == "title"), "User Guide"),
                            author="Zentrive", subject="User guide", invariant=True)
    story = []
    placed = []
    chapters = 0
    for kind, value in blocks:
        if kind in ("title", "subtitle"):
            story.append(Paragraph(inline(value), st[kind]))
            if kind == "subtitle" and version:
                story.append(Paragraph("Version %s" % inline(version), st["subtitle"]))
        elif kind == "chapter":
            chapters += 1
            story.append(PageBreak())
            story.append(Paragraph("%d. %s" % (chapters, inline(value)), st["chapter"]))
        elif kind == "section":
            story.append(Paragraph(inline(value), st["section"]))
        elif kind == "para":
            story.append(Paragraph(inline(value), st["body"]))
        elif kind in ("bullets", "steps"):
            items = [ListItem(Paragraph(inline(v), st["body"]), leftIndent=14) for v in value]
            if kind == "bullets":
                story.append(ListFlowable(items, bulletType="bullet", start="\u2022", leftIndent=14))
            else:
                story.append(ListFlowable(items, bulletType="1", leftIndent=14))
        elif kind == "figure":
            name, caption = value
            path = os.path.join(screenshots, name) if screenshots else ""
            if path and os.path.isfile(path):
                placed.append(name)
                story.append(figure(path, caption, len(placed), doc.width, st))

    def footer(canvas, d):
        if d.page > 1:
            canvas.saveState()
            canvas.setFont("Helvetica", 8.5)
            canvas.setFillColor(colors.grey)
            canvas.drawCentredString(A4[0] / 2, 11 * mm, "Zentrive User Guide \u2013 page %d" % d.page)
            canvas.restoreState()

    doc.build(story, onFirstPage=footer, onLaterPages=footer)
    return placed


def main():
    ap = argparse.ArgumentParser(description="Builds Manual.pdf from its text source and screenshots.")
    ap.add_argument("source")
    ap.add_argument("output")
    ap.add_argument("--screenshots", default="", help="folder of PNG screenshots named in the source")
    ap.add_argument("--version", default="", help="the release's version, shown on the title page")
    args = ap.parse_args()
    placed = build(args.source, args.output, args.screenshots, args.version)
    print("make_manual: %s with %d figure(s)%s" % (args.output, len(placed),
                                                   (": " + ", ".join(placed)) if placed else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main())
