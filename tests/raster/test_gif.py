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
CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else shutil.which("convert")


def globetool_gif(*args):
    return subprocess.run([GLOBETOOL, "gif", *args], capture_output=True, text=True)


def interlace_flag(path):
    """Bit 6 of the first image descriptor's flags, found by walking the blocks."""
    with open(path, "rb") as f:
        data = f.read()
    pos = 13 + (3 << (data[10] & 7) + 1 if data[10] & 0x80 else 0)
    while data[pos] == 0x21:
        pos += 2
        while data[pos]:
            pos += data[pos] + 1
        pos += 1
    return bool(data[pos + 9] & 0x40)


def lzw(indices, code_size, leading_clear=True, clear_when_full=True, clear_every=0):
    """An encoder of our own: a dictionary of strings, clearing as told."""
    clear, out, acc, nbits = 1 << code_size, bytearray(), 0, 0

    def put(code):
        nonlocal acc, nbits
        acc, nbits = acc | code << nbits, nbits + width
        while nbits >= 8:
            out.append(acc & 255)
            acc, nbits = acc >> 8, nbits - 8

    table, width, codes = {}, code_size + 1, 0
    if leading_clear:
        put(clear)
    prefix = None
    for c in indices:
        if prefix is None or (prefix, c) in table:
            prefix = c if prefix is None else table[prefix, c]
            continue
        put(prefix)
        codes += 1
        # The decoder widens once it holds 2^width entries, one code later.
        if clear + 2 + len(table) >= 1 << width and width < 12:
            width += 1
        if clear + 2 + len(table) < 4096:
            table[prefix, c] = clear + 2 + len(table)
        prefix = c
        if (clear + 2 + len(table) == 4096 and clear_when_full) or (clear_every and codes % clear_every == 0):
            put(clear)
            table, width = {}, code_size + 1
    put(prefix)
    if clear + 2 + len(table) >= 1 << width and width < 12:
        width += 1
    put(clear + 1)
    return bytes(out) + bytes([acc]) if nbits else bytes(out)


def gif_file(width, height, palette, code_size, data, block=255):
    bits = (len(palette) // 3).bit_length() - 2
    blocks = b"".join(bytes([len(data[i:i + block])]) + data[i:i + block] for i in range(0, len(data), block))
    return (b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80 | bits, 0, 0) + bytes(palette) +
            b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0) + bytes([code_size]) + blocks + b"\x00\x3b")


def random_palette(rng, colours):
    # Never the identity grey ramp, which Pillow would open as a grey image.
    return [rng.randrange(256) for _ in range(3 * colours - 1)] + [1]


class Case(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="gif-")
        self.addCleanup(shutil.rmtree, self.dir)
        self.rng = random.Random(1234)

    def path(self, name):
        return os.path.join(self.dir, name)

    def pillow_gif(self, name, width, height, colours, **save):
        im = Image.new("P", (width, height))
        im.putdata([self.rng.randrange(colours) for _ in range(width * height)])
        im.putpalette(random_palette(self.rng, colours))
        save.setdefault("optimize", False)
        im.save(self.path(name), **save)
        return self.path(name)

    def check(self, gif, colour_oracle=True):
        """Decodes gif with globetool and compares with Pillow and ImageMagick."""
        out = self.path("out.pcx")
        result = globetool_gif(gif, "--out", out)
        self.assertEqual(result.returncode, 0, result.stderr)
        info = dict(line.split(" ", 1) for line in result.stdout.splitlines())
        with Image.open(gif) as ref, Image.open(out) as pcx:
            self.assertEqual(ref.mode, "P")
            width, height = ref.size
            kept = min(height, width // 2)
            colours = len(ref.getpalette()) // 3
            self.assertEqual(info, {"width": str(width), "height": str(kept), "image_height": str(height),
                                    "colours": str(colours), "interlaced": "yes" if interlace_flag(gif) else "no"})
            self.assertEqual(pcx.size, (width, kept))
            self.assertEqual(pcx.tobytes(), ref.crop((0, 0, width, kept)).tobytes(), "indices differ from Pillow's")
            self.assertEqual(pcx.getpalette()[: 3 * colours], ref.getpalette())
            decoded_rgb = pcx.convert("RGB").tobytes()
        if colour_oracle and CONVERT:
            rgb = subprocess.run([CONVERT, gif + "[0]", "-crop", f"{width}x{kept}+0+0", "+repage",
                                  "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
            self.assertEqual(decoded_rgb, rgb, "colours differ from ImageMagick's")


class PillowFiles(Case):
    def test_sizes_colours_and_interlacing(self):
        # Odd widths, widths not multiples of 8, 2 to 256 colours, images taller
        # than half their width, and noisy pictures that fill the 4096-entry
        # table many times (the encoder then sends clear codes mid-stream).
        for width, height, colours in [(2, 1, 2), (37, 18, 8), (101, 50, 256), (64, 100, 16),
                                       (63, 200, 32), (1000, 700, 4), (1024, 512, 256), (5, 2, 64)]:
            for interlace in (False, True):
                with self.subTest(size=(width, height), colours=colours, interlace=interlace):
                    gif = self.pillow_gif("p.gif", width, height, colours, interlace=interlace)
                    self.check(gif)

    def test_extensions_before_the_image(self):
        # Comment, looping application block and graphic control (transparency).
        gif = self.pillow_gif("ext.gif", 90, 40, 16, interlace=False, comment=b"c" * 1000, loop=0,
                              transparency=3)
        with open(gif, "rb") as f:
            self.assertIn(b"NETSCAPE2.0", f.read())
        self.check(gif, colour_oracle=False)

    def test_local_colour_table_wins(self):
        # Pillow writes a global table; move it behind the image descriptor,
        # once dropping the global table and once leaving a wrong one.
        gif = self.pillow_gif("g.gif", 70, 30, 32, interlace=False)
        with open(gif, "rb") as f:
            data = f.read()
        self.assertEqual(data[10] & 0x87, 0x84)
        table = data[13:13 + 96]
        descriptor = data[13 + 96:13 + 96 + 10]
        self.assertEqual(descriptor[0], 0x2C)
        local = descriptor[:9] + bytes([descriptor[9] | 0x84]) + table
        rest = data[13 + 96 + 10:]
        only_local = data[:10] + bytes([data[10] & 0x70]) + data[11:13] + local + rest
        wrong_global = data[:10] + bytes([data[10] & 0xF0 | 0x81]) + data[11:13] + bytes(12) + local + rest
        for name, body in (("local.gif", only_local), ("both.gif", wrong_global)):
            with self.subTest(name):
                with open(self.path(name), "wb") as f:
                    f.write(body)
                self.check(self.path(name))


class OwnEncoderFiles(Case):
    def test_clear_codes_full_tables_and_sub_blocks(self):
        # Pillow's and ImageMagick's encoders clear as the table fills; these
        # streams also start without a clear, keep the table full to the end,
        # clear early, come in 1-byte sub-blocks, use a code size wider than
        # the colours need, and hold long runs (codes naming the entry still
        # being built).
        runs = [(i // 5000) % 2 for i in range(256 * 128)]
        for name, width, height, colours, code_size, pixels, options, block in [
                ("clear when full", 400, 200, 4, 2, None, {}, 255),
                ("no leading clear", 301, 151, 256, 8, None, {"leading_clear": False}, 255),
                ("table stays full", 400, 200, 4, 2, None, {"clear_when_full": False}, 255),
                ("stays full, no leading clear", 301, 151, 256, 8, None,
                 {"clear_when_full": False, "leading_clear": False}, 200),
                ("clear every 100 codes", 400, 200, 4, 2, None, {"clear_every": 100}, 255),
                ("clear after every code", 64, 40, 16, 4, None, {"clear_every": 1}, 255),
                ("1-byte sub-blocks", 301, 151, 256, 8, None, {}, 1),
                ("wide code size", 4, 2, 2, 8, None, {}, 255),
                ("long runs", 256, 128, 2, 2, runs, {"clear_when_full": False}, 255)]:
            with self.subTest(name):
                pixels = pixels or [self.rng.randrange(colours) for _ in range(width * height)]
                body = gif_file(width, height, random_palette(self.rng, colours), code_size,
                                lzw(pixels, code_size, **options), block)
                with open(self.path("own.gif"), "wb") as f:
                    f.write(body)
                with Image.open(self.path("own.gif")) as ref:
                    self.assertEqual(list(ref.getdata()), pixels, "the encoder itself is wrong")
                self.check(self.path("own.gif"))


class ImageMagickFiles(Case):
    @unittest.skipUnless(CONVERT, "ImageMagick is not installed")
    def test_noise_pictures(self):
        for width, height, colours, interlace in [(37, 30, 2, False), (49, 20, 5, True), (127, 63, 16, False),
                                                   (33, 90, 64, True), (800, 400, 256, False),
                                                   (801, 401, 256, True)]:
            with self.subTest(size=(width, height), colours=colours, interlace=interlace):
                gif = self.path("im.gif")
                args = [CONVERT, "-size", f"{width}x{height}", "xc:", "+noise", "Random", "-colors",
                        str(colours), "-comment", "made by ImageMagick"]
                if interlace:
                    args += ["-interlace", "GIF"]
                subprocess.run(args + [gif], check=True)
                self.check(gif)


class RefusedFiles(Case):
    def refused(self, name, body):
        gif = self.path(name)
        with open(gif, "wb") as f:
            f.write(body)
        out = self.path("refused.pcx")
        result = globetool_gif(gif, "--out", out)
        self.assertEqual(result.returncode, 1, name)
        self.assertIn(gif, result.stderr)
        self.assertEqual(result.stdout, "")
        self.assertFalse(os.path.exists(out))

    def test_bad_files_exit_1_with_the_reason(self):
        gif = self.pillow_gif("good.gif", 64, 32, 16, interlace=True)
        with open(gif, "rb") as f:
            good = f.read()
        image_at = good.index(b"\x2c\x00\x00\x00\x00")
        for cut in (0, 5, 12, 13 + 20, image_at + 5, image_at + 11, len(good) // 2, len(good) - 2):
            with self.subTest(cut=cut):
                self.refused("cut.gif", good[:cut])
        self.refused("aspect.gif", good[:12] + b"\x31" + good[13:])
        self.refused("trailer.gif", good[:image_at] + b"\x3b")
        self.refused("png.gif", b"\x89PNG\r\n\x1a\n" + bytes(100))

    def test_usage(self):
        self.assertEqual(globetool_gif().returncode, 2)
        self.assertEqual(globetool_gif("a.gif", "b.gif").returncode, 2)
        self.assertEqual(globetool_gif("--bogus").returncode, 2)
        self.assertEqual(globetool_gif("--help").returncode, 0)
        missing = globetool_gif(self.path("missing"))
        self.assertEqual(missing.returncode, 1)
        self.assertIn("missing.gif", missing.stderr)


if __name__ == "__main__":
    unittest.main()
