"""`globetool render` and `gif` pictures from the outside: reference frames of
the textured globe, PNG and PCX of the same frame agreeing under Pillow and
ImageMagick, sequences stepping the clock, and no write,
interrupted or failed, leaving a partial file."""
import datetime
import hashlib
import os
import signal
import subprocess
import tempfile
import time
import unittest

from PIL import Image

GLOBETOOL = os.environ["GLOBETOOL"]
DATA = os.environ["GLOBE_DATA"]
ENV = {**os.environ, "TZ": "UTC"}
FRAME = ["--size", "160x120", "--at", "2000-06-21T12:00Z"]
GIF = os.path.join(DATA, "globe.gif")
OVER_EUROPE = ("--from", "48,12,7928", "--look", "centre")


def render(*args, check=True):
    return subprocess.run([GLOBETOOL, "render", *FRAME, *args], capture_output=True, text=True, env=ENV, check=check)


def picture(work, *args):
    out = os.path.join(work, "frame.pcx")
    render("--size", "320x240", "--no-status", "--at", "2000-01-01T12:00Z", "--out", out, *args)
    with Image.open(out) as image:
        image.load()
        return image


class Pictures(unittest.TestCase):
    def assert_frame(self, image, digest, name):
        """A frame other than the reference is kept beside the test's output for a person to look at."""
        got = hashlib.sha256(image.tobytes()).hexdigest()
        if got != digest:
            kept = os.path.abspath(f"test_pictures_{name}.png")
            image.save(kept)
            self.fail(f"{name}: {got}, frame in {kept}")

    def test_reference_frames_and_the_centre_texel(self):
        # Frames checked by eye when they were first drawn; any change to the textured globe shows here.
        with tempfile.TemporaryDirectory() as work:
            self.assert_frame(picture(work), "d709ce5ccabbd70cac46a29cd2ad40ce4a1ee945d5179040cf33bb9f44148aba",
                              "home")
            disc = picture(work, "--from", "0,0,7928", "--look", "centre")
            self.assert_frame(disc, "9a6e422b61d6832b64a56d553c7f2a7c01bd1036e94cf18d2352018e0d922511", "disc")
            texture = Image.open(GIF)
            self.assertEqual(disc.getpixel((160, 120)), texture.getpixel((texture.width // 2, texture.height // 2)))

    def test_png_holds_the_pcx_pixels_and_palette(self):
        with tempfile.TemporaryDirectory() as work:
            names = []
            for n, args in enumerate((["--no-texture", "--from", "0,0,20000", "--look", "sun", "--zoom", "3"],
                                      OVER_EUROPE)):
                for ext in ("pcx", "PNG"):
                    render(*args, "--out", os.path.join(work, f"f{n}.{ext}"))
                names.append(f"f{n}")
            for ext in ("pcx", "png"):
                subprocess.run([GLOBETOOL, "gif", GIF, "--out", os.path.join(work, "g." + ext)],
                               check=True, capture_output=True)
            for name in names + ["g"]:
                a, b = (Image.open(os.path.join(work, name + ext)) for ext in (".pcx", ".PNG" if name != "g" else ".png"))
                self.assertEqual((a.mode, b.mode, a.size, a.tobytes()), ("P", "P", b.size, b.tobytes()), name)
                self.assertEqual(a.getpalette()[:768], b.getpalette()[:768], name)
                magick = [subprocess.run(["convert", i.filename, "rgb:-"], capture_output=True, check=True).stdout
                          for i in (a, b)]
                self.assertEqual(magick[0], magick[1], name)

    def test_a_day_in_hours(self):
        with tempfile.TemporaryDirectory() as work:
            view = ("--no-texture", "--look", "sun", "--from", "0,0,20000")
            render("--count", "24", "--step", "1h", *view, "--out", os.path.join(work, "f%02d.png"))
            self.assertEqual(sorted(os.listdir(work)), [f"f{k:02d}.png" for k in range(24)])
            for k in (1, 9, 23):
                at = datetime.datetime(2000, 6, 21, 12) + datetime.timedelta(hours=k)
                render("--at", at.strftime("%Y-%m-%dT%H:%MZ"), *view, "--out", os.path.join(work, "one.png"))
                self.assertEqual(Image.open(os.path.join(work, f"f{k:02d}.png")).tobytes(),
                                 Image.open(os.path.join(work, "one.png")).tobytes(), k)

    def test_killed_and_failed_writes_leave_only_whole_files(self):
        with tempfile.TemporaryDirectory() as work:
            run = subprocess.Popen([GLOBETOOL, "render", "--size", "640x480", "--count", "10000", "--step", "1m",
                                    "--out", os.path.join(work, "f%05d.png")], env=ENV)
            while run.poll() is None and len(os.listdir(work)) < 6:
                time.sleep(0.05)
            run.send_signal(signal.SIGKILL)
            run.wait()
            frames = sorted(n for n in os.listdir(work) if not n.startswith("."))
            self.assertEqual(frames, [f"f{k:05d}.png" for k in range(max(5, len(frames)))])
            for name in frames:
                Image.open(os.path.join(work, name)).load()
        with tempfile.TemporaryDirectory() as work:
            if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", work], capture_output=True).returncode:
                self.skipTest("cannot mount a small tmpfs here")
            try:
                good = os.path.join(work, "frame.pcx")
                render("--size", "8x8", "--out", good)
                with open(good, "rb") as file:
                    kept = file.read()
                for command in (["render", *FRAME, "--size", "1280x960", *OVER_EUROPE, "--out", good],
                                ["render", *FRAME, "--out", "/dev/full"], ["gif", GIF, "--out", good]):
                    result = subprocess.run([GLOBETOOL, *command], capture_output=True, text=True, env=ENV)
                    self.assertEqual((result.returncode, "No space left on device" in result.stderr), (1, True))
                    self.assertEqual(os.listdir(work), ["frame.pcx"])
                    with open(good, "rb") as file:
                        self.assertEqual(file.read(), kept)
            finally:
                subprocess.run(["umount", work], check=True)


if __name__ == "__main__":
    unittest.main()
