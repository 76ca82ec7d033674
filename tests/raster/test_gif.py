"""globetool gif against Pillow and ImageMagick, on GIFs that they write.

The decoder must give, for the top min(height, width / 2) rows, the same
palette indices as Pillow and, through its palette, the same colours as
ImageMagick; files the viewer would refuse end with exit 1 and a reason.
"""
import os
import random
import shutil
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
