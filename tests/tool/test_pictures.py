"""`globetool render` and `gif` pictures from the outside: PNG and PCX of the
same frame agree under Pillow and ImageMagick, sequences step the clock,
and no write, interrupted or failed, leaves a partial file."""
import datetime
import json
import math
import os
import pty
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


def render(*args, check=True):
    return subprocess.run([GLOBETOOL, "render", *FRAME, *args], capture_output=True, text=True, env=ENV, check=check)


def imagemagick_rgb(path):
    return subprocess.run(["convert", path, "rgb:-"], capture_output=True, check=True).stdout


class Pictures(unittest.TestCase):
    def test_png_holds_the_pcx_pixels_and_palette(self):
        with tempfile.TemporaryDirectory() as work:
            pairs = []
            for n, args in enumerate((["--no-texture", "--from", "0,0,20000", "--look", "sun", "--zoom", "3"],
                                      ["--from", "48,12,7928", "--look", "centre"])):
                for ext in ("pcx", "PNG"):
                    render(*args, "--out", os.path.join(work, f"f{n}.{ext}"))
                pairs.append((f"f{n}.pcx", f"f{n}.PNG"))
            gif = os.path.join(DATA, "globe.gif")
            for ext in ("pcx", "png"):
                subprocess.run([GLOBETOOL, "gif", gif, "--out", os.path.join(work, "g." + ext)], check=True,
                               capture_output=True)
            pairs.append(("g.pcx", "g.png"))
            for pcx, png in pairs:
                a, b = Image.open(os.path.join(work, pcx)), Image.open(os.path.join(work, png))
                self.assertEqual((a.mode, b.mode, a.size), ("P", "P", b.size), png)
                self.assertEqual(a.tobytes(), b.tobytes(), png)
                self.assertEqual(a.getpalette()[:768], b.getpalette()[:768], png)
                self.assertEqual(imagemagick_rgb(os.path.join(work, pcx)), imagemagick_rgb(os.path.join(work, png)))

    def test_a_day_in_hours(self):
        with tempfile.TemporaryDirectory() as work:
            view = ("--no-texture", "--look", "sun", "--from", "0,0,20000")
            out = render("--count", "24", "--step", "1h", *view, "--camera",
                         "--out", os.path.join(work, "f%02d.png")).stdout
            cameras = [json.loads(line) for line in out.splitlines()]
            self.assertEqual(sorted(os.listdir(work)), [f"f{k:02d}.png" for k in range(24)])
            for k in (1, 9, 23):
                at = datetime.datetime(2000, 6, 21, 12) + datetime.timedelta(hours=k)
                render("--at", at.strftime("%Y-%m-%dT%H:%MZ"), *view, "--out", os.path.join(work, "one.png"))
                one = Image.open(os.path.join(work, "one.png")).tobytes()
                self.assertEqual(Image.open(os.path.join(work, f"f{k:02d}.png")).tobytes(), one, k)
            # The tracked Sun goes round the Earth-fixed axis 15 degrees an hour.
            for a, b in zip(cameras, cameras[1:]):
                self.assertAlmostEqual(b["day_number"] - a["day_number"], 1 / 24, places=9)
                turn = math.degrees(math.atan2(a["viewfwd"][0], -a["viewfwd"][2]) -
                                    math.atan2(b["viewfwd"][0], -b["viewfwd"][2])) % 360
                self.assertAlmostEqual(turn, 15, delta=0.1)
            # The status line of the time shows a new hour in every frame.
            status = [Image.open(os.path.join(work, f"f{k:02d}.png")).crop((0, 6, 160, 13)).tobytes()
                      for k in range(24)]
            self.assertEqual(len(set(status)), 24)

    def test_progress_only_on_a_terminal(self):
        with tempfile.TemporaryDirectory() as work:
            args = [GLOBETOOL, "render", *FRAME, "--count", "3", "--out", os.path.join(work, "f%d.pcx")]
            self.assertEqual(subprocess.run(args, capture_output=True, env=ENV, check=True).stderr, b"")
            main, side = pty.openpty()
            subprocess.run(args, stderr=side, env=ENV, check=True)
            os.close(side)
            self.assertIn(b"3/3 frames", os.read(main, 4096))
            os.close(main)

    def test_a_killed_sequence_leaves_only_whole_frames(self):
        with tempfile.TemporaryDirectory() as work:
            run = subprocess.Popen([GLOBETOOL, "render", "--size", "640x480", "--count", "10000", "--step", "1m",
                                    "--out", os.path.join(work, "f%05d.png")], env=ENV)
            while run.poll() is None and len([n for n in os.listdir(work) if not n.startswith(".")]) < 5:
                time.sleep(0.05)
            run.send_signal(signal.SIGKILL)
            run.wait()
            frames = sorted(n for n in os.listdir(work) if not n.startswith("."))
            self.assertGreaterEqual(len(frames), 5)
            self.assertEqual(frames, [f"f{k:05d}.png" for k in range(len(frames))])
            for name in frames:
                Image.open(os.path.join(work, name)).load()

    def test_failed_writes_keep_the_old_file(self):
        result = render("--out", "/dev/full", check=False)
        self.assertEqual(result.returncode, 1)
        self.assertIn("No space left on device", result.stderr)
        with tempfile.TemporaryDirectory() as work:
            if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", work],
                              capture_output=True).returncode != 0:
                self.skipTest("cannot mount a small tmpfs here")
            try:
                good = os.path.join(work, "frame.pcx")
                render("--size", "8x8", "--out", good)
                with open(good, "rb") as file:
                    kept = file.read()
                for command in (["render", "--size", "1280x960", "--from", "0,0,7928", "--look", "centre", "--out", good],
                                ["gif", os.path.join(DATA, "globe.gif"), "--out", good]):
                    result = subprocess.run([GLOBETOOL, *command], capture_output=True, text=True, env=ENV)
                    self.assertEqual(result.returncode, 1, command)
                    self.assertIn("No space left on device", result.stderr)
                    self.assertEqual(os.listdir(work), ["frame.pcx"])
                    with open(good, "rb") as file:
                        self.assertEqual(file.read(), kept)
            finally:
                subprocess.run(["umount", work], check=True)


if __name__ == "__main__":
    unittest.main()
