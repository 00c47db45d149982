"""Writers and readers of the two picture formats the resource compiler takes: 24-bit BMP and ICO.

Written by hand rather than through the imaging library so that the bytes depend only on the pixels: the same
picture always gives the same file, which is what keeps the committed outputs comparable with a fresh run.
"""
import struct

from PIL import Image

BMP_FILE_HEADER = 14
BMP_INFO_HEADER = 40
PIXELS_PER_METRE = 3780  # 96 dots per inch


def _row_stride(width, bits):
    return ((width * bits + 31) // 32) * 4


def bmp_bytes(image):
    """A bottom-up, uncompressed 24-bit BMP with a BITMAPINFOHEADER (the BMP3 layout)."""
    image = image.convert("RGB")
    width, height = image.size
    stride = _row_stride(width, 24)
    pad = b"\0" * (stride - width * 3)
    raw = image.tobytes("raw", "BGR")
    rows = [raw[y * width * 3:(y + 1) * width * 3] + pad for y in range(height - 1, -1, -1)]
    pixels = b"".join(rows)
    offset = BMP_FILE_HEADER + BMP_INFO_HEADER
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", BMP_INFO_HEADER, width, height, 1, 24, 0, len(pixels),
                       PIXELS_PER_METRE, PIXELS_PER_METRE, 0, 0)
    return header + info + pixels


def read_bmp(data):
    """Parses what bmp_bytes writes (and only that layout); returns an RGB image. Raises ValueError otherwise."""
    if len(data) < BMP_FILE_HEADER + BMP_INFO_HEADER or data[:2] != b"BM":
        raise ValueError("not a BMP file")
    _, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    (info_size, width, height, planes, bits, compression, image_size,
     _, _, colours, _) = struct.unpack_from("<IiiHHIIiiII", data, BMP_FILE_HEADER)
    if size != len(data) or info_size != BMP_INFO_HEADER or planes != 1 or bits != 24 or compression != 0:
        raise ValueError("not an uncompressed 24-bit BMP with a 40-byte header")
    if width <= 0 or height <= 0 or colours != 0:
        raise ValueError("unexpected dimensions or colour table")
    stride = _row_stride(width, 24)
    if image_size != stride * height or offset + image_size != len(data):
        raise ValueError("pixel array size does not match the header")
    rows = []
    for y in range(height - 1, -1, -1):
        start = offset + y * stride
        rows.append(data[start:start + width * 3])
    return Image.frombytes("RGB", (width, height), b"".join(rows), "raw", "BGR")


def bmp_size(data):
    """Width and height from a BMP's info header, without decoding the pixels."""
    width, height = struct.unpack_from("<ii", data, BMP_FILE_HEADER + 4)
    return width, abs(height)


def _icon_entry_bytes(image):
    """One icon image as the resource compiler stores it: BITMAPINFOHEADER of double height, 32-bit BGRA rows
    bottom-up, then the 1-bit AND mask (set where the picture is fully transparent, for old consumers)."""
    image = image.convert("RGBA")
    width, height = image.size
    xor = image.tobytes("raw", "BGRA")
    xor_rows = [xor[y * width * 4:(y + 1) * width * 4] for y in range(height - 1, -1, -1)]
    alpha = image.getchannel("A").tobytes()
    mask_stride = _row_stride(width, 1)
    mask_rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(width):
            if alpha[y * width + x] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(bytes(row))
    info = struct.pack("<IiiHHIIiiII", BMP_INFO_HEADER, width, height * 2, 1, 32, 0,
                       len(xor) + mask_stride * height, 0, 0, 0, 0)
    return info + b"".join(xor_rows) + b"".join(mask_rows)


def ico_bytes(images):
    """An ICO file holding the given RGBA images (square, at most 255 pixels), smallest first."""
    images = sorted(images, key=lambda im: im.size[0])
    entries = [_icon_entry_bytes(im) for im in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for im, data in zip(images, entries):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(entries)


def read_ico(data):
    """Parses an ICO of the kind ico_bytes writes; returns the list of RGBA images. Raises ValueError otherwise."""
    if len(data) < 6:
        raise ValueError("too short for an ICO header")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0 or len(data) < 6 + 16 * count:
        raise ValueError("not an icon directory")
    images = []
    for i in range(count):
        w, h, colours, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        if offset + size > len(data) or bits != 32 or planes != 1 or colours != 0:
            raise ValueError("entry %d is not a 32-bit image inside the file" % i)
        (info_size, width, height2, _, ebits, compression, _, _, _, _, _) = struct.unpack_from(
            "<IiiHHIIiiII", data, offset)
        w = w or 256
        h = h or 256
        if info_size != BMP_INFO_HEADER or width != w or height2 != 2 * h or ebits != 32 or compression != 0:
            raise ValueError("entry %d has a header that does not match the directory" % i)
        mask_stride = _row_stride(w, 1)
        if size != BMP_INFO_HEADER + w * h * 4 + mask_stride * h:
            raise ValueError("entry %d has the wrong size" % i)
        start = offset + BMP_INFO_HEADER
        xor = data[start:start + w * h * 4]
        rows = [xor[y * w * 4:(y + 1) * w * 4] for y in range(h - 1, -1, -1)]
        images.append(Image.frombytes("RGBA", (w, h), b"".join(rows), "raw", "BGRA"))
    return images
