"""`globetool render` draws what the viewer draws: the textured globe against
the digests of reference frames, the picture's centre texel under the screen centre, the
camera it reports, and its refusal of bad options."""
import hashlib
import json
import os
import subprocess
import tempfile
import unittest

from PIL import Image

GLOBETOOL = os.environ["GLOBETOOL"]
DATA = os.environ["GLOBE_DATA"]
# The pixels of frames checked by eye when they were first drawn; any change
# to the textured globe shows here.
HOME_FRAME = "d709ce5ccabbd70cac46a29cd2ad40ce4a1ee945d5179040cf33bb9f44148aba"
WHOLE_DISC_FRAME = "9a6e422b61d6832b64a56d553c7f2a7c01bd1036e94cf18d2352018e0d922511"


def render(*args):
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, "frame.pcx")
        subprocess.run([GLOBETOOL, "render", "--size", "320x240", "--no-status", "--at", "2000-01-01T12:00Z",
                        "--out", out, *args], check=True, env={**os.environ, "TZ": "UTC"})
        image = Image.open(out)
        image.load()
        return image


def digest(image):
    return hashlib.sha256(image.tobytes()).hexdigest()


class Render(unittest.TestCase):
    def test_home_view_matches_its_reference(self):
        self.assertEqual(digest(render()), HOME_FRAME)

    def test_whole_disc_over_the_origin(self):
        frame = render("--from", "0,0,7928", "--look", "centre")
        self.assertEqual(digest(frame), WHOLE_DISC_FRAME)
        texture = Image.open(os.path.join(DATA, "globe.gif"))
        centre_texel = texture.getpixel((texture.width // 2, texture.height // 2))
        self.assertEqual(frame.getpixel((160, 120)), centre_texel)
        for corner in ((0, 0), (319, 0), (0, 239), (319, 239), (160, 5), (5, 120)):
            self.assertEqual(frame.getpixel(corner), 0, corner)

    def test_borders_over_the_texture(self):
        # From 3 Earth radii over Europe; the picture's colours stop below the ramps, so 0x45 is a border.
        over_europe = ("--from", "48,12,7928", "--look", "centre")
        border = 0x45
        with_borders = render(*over_europe).getdata()
        self.assertGreater(sum(1 for p in with_borders if p == border), 300)
        self.assertEqual(sum(1 for p in render(*over_europe, "--no-borders").getdata() if p == border), 0)

    def test_zoom_and_camera(self):
        out = subprocess.run([GLOBETOOL, "render", "--size", "200x100", "--zoom", "2", "--from", "10,20,100",
                              "--look", "down", "--camera", "--out", os.devnull],
                             check=True, capture_output=True, text=True).stdout
        camera = json.loads(out)
        self.assertEqual((camera["xres"], camera["yres"], camera["zoom"]), (200, 100, 400))
        up = [c / sum(x * x for x in camera["viewpos"]) ** 0.5 for c in camera["viewpos"]]
        self.assertAlmostEqual(sum(a * b for a, b in zip(camera["viewfwd"], up)), -1, places=12)

    def test_bad_usage(self):
        for args in (["--zoom", "-1"], ["--at", "yesterday"]):
            result = subprocess.run([GLOBETOOL, "render", *args], capture_output=True)
            self.assertEqual(result.returncode, 2, args)


if __name__ == "__main__":
    unittest.main()
