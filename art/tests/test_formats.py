"""The BMP and ICO writers: the layouts the resource compiler and LoadImage take, and readers that refuse others."""
import struct
import unittest

from PIL import Image

from zskin import formats


def noise(size, mode="RGB"):
    """A picture whose every pixel differs from its neighbours, so that a row or channel mix-up shows."""
    w, h = size
    image = Image.new(mode, size)
    px = image.load()
    for y in range(h):
        for x in range(w):
            v = (x * 37 + y * 101) & 0xFF
            px[x, y] = (v, (v * 3 + y) & 0xFF, (255 - v + x) & 0xFF) + ((((x + y) * 29) & 0xFF,) if mode == "RGBA" else ())
    return image


class BmpTest(unittest.TestCase):
    def test_round_trip_keeps_every_pixel_for_widths_that_need_row_padding(self):
        for size in ((1, 1), (2, 3), (3, 2), (30, 16), (18, 18), (264, 26), (395, 130)):
            with self.subTest(size=size):
                image = noise(size)
                data = formats.bmp_bytes(image)
                self.assertEqual(formats.bmp_size(data), size)
                self.assertEqual(formats.read_bmp(data).tobytes(), image.tobytes())

    def test_header_is_the_uncompressed_24_bit_bottom_up_layout(self):
        image = Image.new("RGB", (3, 2), (0, 0, 0))
        image.putpixel((0, 1), (10, 20, 30))  # bottom-left: the first pixel stored
        data = formats.bmp_bytes(image)
        stride = 12  # 3 pixels x 3 bytes, padded to a multiple of 4
        self.assertEqual(data[:2], b"BM")
        self.assertEqual(struct.unpack_from("<I", data, 2)[0], len(data))
        self.assertEqual(struct.unpack_from("<I", data, 10)[0], 54)
        info = struct.unpack_from("<IiiHHIIiiII", data, 14)
        self.assertEqual(info[:7], (40, 3, 2, 1, 24, 0, stride * 2))
        self.assertEqual(len(data), 54 + stride * 2)
        self.assertEqual(data[54:57], bytes((30, 20, 10)))  # stored blue, green, red

    def test_same_picture_gives_the_same_bytes(self):
        self.assertEqual(formats.bmp_bytes(noise((33, 7))), formats.bmp_bytes(noise((33, 7))))

    def test_reader_refuses_what_the_resource_files_must_not_hold(self):
        good = formats.bmp_bytes(noise((5, 4)))
        eight_bit = bytearray(good)
        struct.pack_into("<H", eight_bit, 28, 8)
        compressed = bytearray(good)
        struct.pack_into("<I", compressed, 30, 1)
        for name, data in (("truncated", good[:-1]), ("not BMP", b"PK" + good[2:]), ("8-bit", bytes(eight_bit)),
                           ("RLE", bytes(compressed)), ("short", good[:20])):
            with self.subTest(name):
                with self.assertRaises(ValueError):
                    formats.read_bmp(data)


class IcoTest(unittest.TestCase):
    def test_round_trip_keeps_colour_and_alpha_of_every_size(self):
        images = [noise((n, n), "RGBA") for n in (32, 16, 48)]
        data = formats.ico_bytes(images)
        back = formats.read_ico(data)
        self.assertEqual([im.size for im in back], [(16, 16), (32, 32), (48, 48)])  # smallest first
        for original in images:
            match = next(im for im in back if im.size == original.size)
            self.assertEqual(match.tobytes(), original.tobytes())

    def test_and_mask_is_set_exactly_where_the_picture_is_transparent(self):
        image = Image.new("RGBA", (16, 16), (10, 20, 30, 255))
        image.putpixel((0, 15), (0, 0, 0, 0))  # bottom-left: first bit of the first stored mask row
        image.putpixel((9, 0), (0, 0, 0, 0))  # top row, second byte
        image.putpixel((3, 3), (50, 50, 50, 128))  # translucent pixels stay in the picture
        data = formats.ico_bytes([image])
        offset = struct.unpack_from("<I", data, 6 + 12)[0]
        mask = data[offset + 40 + 16 * 16 * 4:]
        self.assertEqual(len(mask), 16 * 4)  # rows padded to 32 bits
        rows = [mask[i * 4:(i + 1) * 4] for i in range(16)]
        self.assertEqual(rows[0], bytes((0x80, 0, 0, 0)))
        self.assertEqual(rows[15], bytes((0, 0x40, 0, 0)))
        self.assertTrue(all(r == bytes(4) for r in rows[1:15]))

    def test_directory_entries_point_at_their_images(self):
        data = formats.ico_bytes([noise((16, 16), "RGBA"), noise((24, 24), "RGBA")])
        self.assertEqual(struct.unpack_from("<HHH", data, 0), (0, 1, 2))
        end = 6 + 32
        for i in range(2):
            w, h, colours, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
            self.assertEqual((colours, planes, bits), (0, 1, 32))
            self.assertEqual(offset, end)
            self.assertEqual(struct.unpack_from("<iii", data, offset)[:3], (40, w, 2 * h))
            end = offset + size
        self.assertEqual(end, len(data))

    def test_reader_refuses_broken_directories(self):
        good = formats.ico_bytes([noise((16, 16), "RGBA")])
        past_end = bytearray(good)
        struct.pack_into("<I", past_end, 6 + 12, len(good))
        wrong_height = bytearray(good)
        struct.pack_into("<i", wrong_height, 6 + 16 + 8, 16)
        for name, data in (("cursor", good[:2] + b"\2\0" + good[4:]), ("past end", bytes(past_end)),
                           ("wrong height", bytes(wrong_height)), ("empty", b"\0\0\1\0\0\0"), ("short", good[:5])):
            with self.subTest(name):
                with self.assertRaises(ValueError):
                    formats.read_ico(data)


if __name__ == "__main__":
    unittest.main()
