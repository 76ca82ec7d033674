"""The sky behind the textured globe from the outside: `globetool render
--sky` against the filled globe's sky, with the sky's colours taken to the
nearest palette entries (CIE76, modelled here in numpy) wherever the image has
put colours of its own: the shipped image, which takes the grey ramp of the
stars, and an image of 256 colours, which takes every ramp."""
import os
import random
import subprocess
import tempfile
import unittest

import numpy as np
from PIL import Image

GLOBETOOL = os.environ["GLOBETOOL"]
DATA = os.environ["GLOBE_DATA"]
ENV = {**os.environ, "TZ": "UTC"}
# Far out on the day side, the Sun beside the globe; and the Sun magnified.
VIEW = ["--size", "320x240", "--at", "2000-06-21T12:00Z", "--no-status", "--from", "10,-20,30000", "--look", "sun"]
ZOOMS = (["--zoom", "1"], ["--zoom", "40"])
GLOBE = (0, 0x45, 0x48, 0x58)  # empty space, border, land and sea of the filled globe
SUN = 254


def built_palette():
    """The palette start-up builds: the grey ramp and twelve ramps of sixteen."""
    bases = [(63, 48, 28), (16, 32, 63), (63, 60, 56), (63, 52, 20), (63, 63, 56), (63, 28, 16),
             (63, 48, 28), (56, 48, 24), (8, 40, 32), (8, 24, 44), (8, 24, 16), (63, 63, 16)]
    colours = [(4 * i,) * 3 for i in range(64)]
    colours += [tuple(((j + 1) * c) >> 2 for c in base) for base in bases for j in range(16)]
    return np.array(colours, dtype=np.float64)


def lab(rgb):
    c = rgb / 255.0
    linear = np.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)
    m = np.array([[0.4124564, 0.3575761, 0.1804375], [0.2126729, 0.7151522, 0.0721750],
                  [0.0193339, 0.1191920, 0.9503041]])
    xyz = linear @ m.T / np.array([0.95047, 1.0, 1.08883])
    f = np.where(xyz > 216 / 24389, np.cbrt(xyz), (24389 / 27 * xyz + 16) / 116)
    return np.stack([116 * f[:, 1] - 16, 500 * (f[:, 0] - f[:, 1]), 200 * (f[:, 1] - f[:, 2])], axis=1)


def shown_colours(shown):
    """For each index the sky paints, the index shown: itself where the image left it."""
    meant = built_palette()
    d2 = ((lab(meant)[:, None, :] - lab(shown)[None, :, :]) ** 2).sum(axis=2)
    return np.where((meant == shown).all(axis=1), np.arange(256), d2.argmin(axis=1))


def render(work, name, *args):
    out = os.path.join(work, name + ".pcx")
    subprocess.run([GLOBETOOL, "render", *VIEW, "--out", out, *args], check=True, capture_output=True, env=ENV)
    with Image.open(out) as image:
        palette = np.array(image.getpalette()[:768], dtype=np.float64).reshape(256, 3)
        return np.array(image), palette


class SkyColours(unittest.TestCase):
    def check(self, *data):
        with tempfile.TemporaryDirectory() as work:
            for zoom in ZOOMS:
                plain, shown = render(work, "plain", *zoom, *data)
                sky, _ = render(work, "sky", "--sky", *zoom, *data)
                filled, _ = render(work, "filled", "--no-texture", *zoom, *data)
                colours = shown_colours(shown)
                want = np.where(np.isin(filled, GLOBE), plain, colours[filled])
                self.assertEqual(int((sky != want).sum()), 0, zoom)
                self.assertGreater(int((sky == colours[SUN]).sum()), 0 if zoom == ZOOMS[0] else 1000, zoom)
                if zoom == ZOOMS[0]:
                    stars = (filled > 0) & (filled < 64) & (plain == 0)
                    self.assertGreater(int(stars.sum()), 20)
                    starry = sky[stars]
            return shown, colours, starry

    def test_the_shipped_image_takes_the_grey_ramp_of_the_stars(self):
        shown, colours, stars = self.check()
        self.assertEqual(list(colours[64:]), list(range(64, 256)))
        self.assertNotEqual(list(colours[1:64]), list(range(1, 64)))
        # The brightest stars come out in the image's whites.
        self.assertTrue((shown[colours[60:64]] >= 230).all())
        self.assertTrue(set(stars) <= set(colours[1:64]))

    def test_an_image_of_256_colours_takes_every_ramp(self):
        rng = random.Random(7)
        palette = [rng.randrange(256) for _ in range(768)]
        texture = Image.new("P", (256, 128))
        texture.putpalette(palette)
        texture.putdata([rng.randrange(256) for _ in range(256 * 128)])
        with tempfile.TemporaryDirectory() as data:
            texture.save(os.path.join(data, "globe.gif"), optimize=False)
            for name in ("SHOREX.DAT", "BORDX.DAT", "stars.dat"):
                os.symlink(os.path.join(DATA, name), os.path.join(data, name))
            shown, colours, _ = self.check("--data", data)
        self.assertEqual(list(shown.flatten().astype(int)), palette)
        self.assertGreater(int((colours != np.arange(256)).sum()), 250)

    def test_the_film_of_a_day_shows_the_sun_with_the_sky(self):
        with tempfile.TemporaryDirectory() as work:
            for args, suns in (((), 0), (("--sky",), 1)):
                subprocess.run([GLOBETOOL, "render", "--size", "640x480", "--look", "sun", "--from", "0,0",
                                "--at", "2000-03-20T12:00Z", "--out", os.path.join(work, "f.pcx"), *args],
                               check=True, capture_output=True, env=ENV)
                frame = np.array(Image.open(os.path.join(work, "f.pcx")))
                self.assertEqual(min(int((frame == SUN).sum()), 1), suns, args)


if __name__ == "__main__":
    unittest.main()
