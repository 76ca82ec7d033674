"""globetool gif against Pillow and ImageMagick, on GIFs that they write.

The decoder must give, for the top min(height, width / 2) rows, the same
palette indices as Pillow and, through its palette, the same colours as
ImageMagick; files the viewer would refuse end with exit 1 and a reason.
"""
import os
import random
import shutil
import struct
import subprocess
import tempfile
import unittest

from PIL import Image

GLOBETOOL = os.environ.get("GLOBETOOL", "globetool")


def globetool_gif(*args):
    return subprocess.run([GLOBETOOL, "gif", *args], capture_output=True, text=True)


def magick(*args):
    return subprocess.run(list(args), capture_output=True, check=True).stdout


def lzw(indices, code_size, leading_clear=True, clear_every=0):
    """An encoder of our own: a dictionary of strings, which stays full to the
    end unless a clear code follows every clear_every codes."""
    clear, width, table, prefix = 1 << code_size, code_size + 1, {}, None
    stream = [(clear, width)] if leading_clear else []
    for c in list(indices) + [None]:
        if c is not None and (prefix is None or (prefix, c) in table):
            prefix = c if prefix is None else table[prefix, c]
            continue
        stream.append((prefix, width))
        if clear + 2 + len(table) >= 1 << width and width < 12:  # the decoder widens one code later
            width += 1
        if clear + 2 + len(table) < 4096 and c is not None:
            table[prefix, c] = clear + 2 + len(table)
        prefix = c
        if clear_every and len(stream) % clear_every == 0:
            stream.append((clear, width))
            table, width = {}, code_size + 1
    bits = "".join(format(code, f"0{w}b")[::-1] for code, w in stream + [(clear + 1, width)])
    return int(bits[::-1], 2).to_bytes((len(bits) + 7) // 8, "little")


def gif_file(width, height, palette, code_size, data, block=255):
    blocks = b"".join(bytes([len(data[i:i + block])]) + data[i:i + block] for i in range(0, len(data), block))
    return (b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80 | (len(palette) // 3).bit_length() - 2, 0, 0) +
            bytes(palette) + b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0) + bytes([code_size]) +
            blocks + b"\x00\x3b")


class Case(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="gif-")
        self.addCleanup(shutil.rmtree, self.dir)
        self.rng = random.Random(1234)

    def path(self, name):
        return os.path.join(self.dir, name)

    def palette(self, colours):
        # Never the identity grey ramp, which Pillow would open as a grey image.
        return [self.rng.randrange(256) for _ in range(3 * colours - 1)] + [1]

    def write(self, name, body):
        with open(self.path(name), "wb") as f:
            f.write(body)
        return self.path(name)

    def pixels(self, count, colours, runs=False):
        """Noise, or runs of up to 300 pixels of one colour, whose codes name
        strings long enough to cross rows and to repeat their own start."""
        out = []
        while len(out) < count:
            out += [self.rng.randrange(colours)] * (self.rng.randrange(1, 300) if runs else 1)
        return out[:count]

    def pillow_gif(self, name, width, height, colours, runs=False, **save):
        im = Image.new("P", (width, height))
        im.putdata(self.pixels(width * height, colours, runs))
        im.putpalette(self.palette(colours))
        im.save(self.path(name), optimize=False, **save)
        return self.path(name)

    def check(self, gif, colour_oracle=True):
        """Decodes gif with globetool and compares with Pillow and ImageMagick."""
        out = self.path("out.pcx")
        result = globetool_gif(gif, "--out", out)
        self.assertEqual(result.returncode, 0, result.stderr)
        info = dict(line.split(" ", 1) for line in result.stdout.splitlines())
        interlaced = magick("identify", "-format", "%[interlace]", gif + "[0]") == b"GIF"
        with Image.open(gif) as ref, Image.open(out) as pcx:
            self.assertEqual(ref.mode, "P")
            width, height = ref.size
            kept, colours = min(height, width // 2), len(ref.getpalette()) // 3
            self.assertEqual(info, {"width": str(width), "height": str(kept), "image_height": str(height),
                                    "colours": str(colours), "interlaced": "yes" if interlaced else "no"})
            self.assertEqual(pcx.size, (width, kept))
            self.assertEqual(pcx.tobytes(), ref.crop((0, 0, width, kept)).tobytes(), "indices differ from Pillow's")
            self.assertEqual(pcx.getpalette()[: 3 * colours], ref.getpalette())
            decoded_rgb = pcx.convert("RGB").tobytes()
        if colour_oracle:
            rgb = magick("convert", gif + "[0]", "-crop", f"{width}x{kept}+0+0", "+repage", "-depth", "8", "rgb:-")
            self.assertEqual(decoded_rgb, rgb, "colours differ from ImageMagick's")


class Decoding(Case):
    def test_pillow_and_imagemagick_pictures(self):
        # Odd widths, widths not multiples of 8, 2 to 256 colours, images taller
        # than half their width, and noisy pictures that fill the 4096-entry
        # table many times (the encoder then sends clear codes mid-stream).
        for width, height, colours in [(2, 1, 2), (37, 18, 8), (101, 50, 256), (64, 100, 16),
                                       (63, 200, 32), (1000, 700, 4), (1024, 512, 256), (5, 2, 64)]:
            for interlace, runs in [(False, False), (True, False), (False, True), (True, True)]:
                with self.subTest(size=(width, height), colours=colours, interlace=interlace, runs=runs):
                    self.check(self.pillow_gif("p.gif", width, height, colours, runs, interlace=interlace))
        # The shipped picture, whose long strings take the decoder's copies.
        self.check(os.path.join(os.path.dirname(__file__), "..", "..", "data", "globe.gif"))
        # Comment, looping application block and graphic control (transparency).
        self.check(self.pillow_gif("ext.gif", 90, 40, 16, interlace=False, comment=b"c" * 1000, loop=0,
                                   transparency=3), colour_oracle=False)
        for width, height, colours, interlace in [(37, 30, 2, False), (49, 20, 5, True), (127, 63, 16, False),
                                                   (33, 90, 64, True), (800, 400, 256, False), (801, 401, 256, True)]:
            with self.subTest("ImageMagick", size=(width, height), colours=colours, interlace=interlace):
                gif = self.path("im.gif")
                magick("convert", "-size", f"{width}x{height}", "xc:", "+noise", "Random", "-colors", str(colours),
                       "-comment", "made by ImageMagick", *(["-interlace", "GIF"] if interlace else []), gif)
                self.check(gif)

    def test_local_colour_table_wins(self):
        # Pillow's 32-colour global table moved behind the image descriptor,
        # once dropping the global table and once leaving a wrong one.
        data = open(self.pillow_gif("g.gif", 70, 30, 32, interlace=False), "rb").read()
        table, descriptor, rest = data[13:109], data[109:119], data[119:]
        local = descriptor[:9] + bytes([descriptor[9] | 0x84]) + table + rest
        for name, screen in (("local.gif", bytes([data[10] & 0x70])), ("both.gif", bytes([0x81]) + bytes(12))):
            with self.subTest(name):
                self.check(self.write(name, data[:10] + screen[:1] + data[11:13] + screen[1:] + local))

    def test_own_encoder_full_tables_clear_codes_and_sub_blocks(self):
        # Tables kept full to the end, no leading clear, clearing often,
        # 1-byte sub-blocks and a code size wider than the colours need.
        for width, height, colours, code_size, options, block in [
                (400, 200, 4, 2, {}, 255), (301, 151, 256, 8, {"leading_clear": False}, 200),
                (400, 200, 4, 2, {"clear_every": 100}, 1), (64, 40, 16, 4, {"clear_every": 1}, 255),
                (4, 2, 2, 8, {}, 255)]:
            with self.subTest(options=options, block=block, code_size=code_size):
                pixels = self.pixels(width * height, colours, runs=block == 200)
                gif = self.write("own.gif", gif_file(width, height, self.palette(colours), code_size,
                                                     lzw(pixels, code_size, **options), block))
                with Image.open(gif) as ref:
                    self.assertEqual(list(ref.getdata()), pixels, "the encoder itself is wrong")
                self.check(gif)


class CommandLine(Case):
    def test_bad_files_exit_1_with_the_reason_and_no_output(self):
        good = open(self.pillow_gif("good.gif", 64, 32, 16, interlace=True), "rb").read()
        image_at = good.index(b"\x2c\x00\x00\x00\x00")
        # The reasons themselves are checked on the decoder.
        for name, body in [("cut", good[:image_at + 11]), ("cut", good[:len(good) - 2]),
                           ("png", b"\x89PNG\r\n\x1a\n" + bytes(100)), ("missing", None)]:
            with self.subTest(name, size=len(body or b"")):
                gif, out = self.write(name + ".gif", body) if body else self.path(name), self.path("refused.pcx")
                result = globetool_gif(gif, "--out", out)
                self.assertEqual((result.returncode, result.stdout), (1, ""))
                self.assertIn(gif, result.stderr)
                self.assertFalse(os.path.exists(out))


if __name__ == "__main__":
    unittest.main()
