"""Day and night on the textured globe against a model of its own: PyEphem's
subsolar point and numpy's rays give each pixel's Sun altitude, and the
palette entry nearest (CIE76 in L*a*b*) to each texel dimmed, with the city
lights of lights.gif added, is what the night frame must show."""
import json
import math
import os
import shutil
import subprocess
import tempfile
import unittest

import ephem
import numpy as np
from PIL import Image

GLOBETOOL = os.environ["GLOBETOOL"]
DATA = os.environ["GLOBE_DATA"]
ENV = {**os.environ, "TZ": "UTC"}
# The levels' brightness and lights, as the viewer chooses them.
DIMMING = [1, 0.8, 0.66, 0.55, 0.46, 0.39, 0.34, 0.3]
LIGHTS_WEIGHT = [0, 0.1, 0.25, 0.45, 0.65, 0.85, 1, 1]
LAMP = np.array([255, 214, 140])
BOUNDS = [math.sin(math.radians(-3 * k)) for k in range(7)]
# PyEphem and the viewer's ephemeris agree on the Sun to an arcminute or so.
MARGIN = math.sin(math.radians(0.05))


def render(work, name, at, place, *args):
    out = os.path.join(work, name + ".pcx")
    run = subprocess.run([GLOBETOOL, "render", "--size", "400x300", "--no-status", "--no-borders", "--camera",
                          "--at", at, "--from", place, "--look", "centre", "--out", out, *args],
                         capture_output=True, text=True, env=ENV, check=True)
    with Image.open(out) as image:
        return json.loads(run.stdout), np.asarray(image), np.array(image.getpalette()[:768]).reshape(256, 3)


def lab(rgb):
    c = np.asarray(rgb, dtype=float) / 255
    c = np.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)
    xyz = c @ np.array([[0.4124564, 0.2126729, 0.0193339], [0.3575761, 0.7151522, 0.1191920],
                        [0.1804375, 0.0721750, 0.9503041]]) / np.array([0.95047, 1, 1.08883])
    d = 6 / 29
    f = np.where(xyz > d ** 3, np.cbrt(xyz), xyz / (3 * d * d) + 4 / 29)
    return np.stack([116 * f[..., 1] - 16, 500 * (f[..., 0] - f[..., 1]), 200 * (f[..., 1] - f[..., 2])], -1)


def shade_tables(palette):
    """[level, grade, index] -> the entry nearest the lit colour."""
    entries = lab(palette)
    tables = np.zeros((8, 4, 256), dtype=np.uint8)
    for level in range(8):
        for grade in range(4):
            lit = np.minimum(255, palette * DIMMING[level] + LAMP * LIGHTS_WEIGHT[level] * grade / 3)
            diff = ((lab(lit)[:, None, :] - entries[None, :, :]) ** 2).sum(-1)
            tables[level, grade] = np.arange(256) if level == 0 else diff.argmin(1)
    return tables


def sun_direction(at):
    """The Sun's Earth-fixed direction from PyEphem's subsolar point, in the
    viewer's axes: -y to the north pole, -z to longitude 0, +x to 90 E."""
    sun = ephem.Sun(ephem.Date(at.replace("T", " ").rstrip("Z")))
    greenwich = ephem.Observer()
    greenwich.date = ephem.Date(at.replace("T", " ").rstrip("Z"))
    lat, lon = float(sun.dec), float(sun.ra) - float(greenwich.sidereal_time())
    return np.array([math.cos(lat) * math.sin(lon), -math.sin(lat), -math.cos(lat) * math.cos(lon)])


def surface(camera):
    """Each pixel's hit on the unit sphere (NaN for a miss)."""
    h, w = camera["yres"], camera["xres"]
    ys, xs = np.mgrid[0:h, 0:w].astype(float)
    right, down, fwd, eye = (np.array(camera[k]) for k in ("viewright", "viewdown", "viewfwd", "viewpos"))
    d = right * (xs - w * 0.5)[..., None] + down * (ys - h * 0.5)[..., None] + fwd * camera["zoom"] * 0.5
    b = d @ eye
    dd = (d * d).sum(-1)
    disc = b * b - dd * (eye @ eye - 1)
    t = (-b - np.sqrt(np.where(disc >= 0, disc, np.nan))) / dd
    return eye + d * t[..., None]


def grades_at(points, lights):
    """The city lights' grade at each point (nearest texel of lights.gif, 2048 x 1024 like globe.gif)."""
    h, w = lights.shape
    u = np.arctan2(points[..., 0], -points[..., 2]) * (w / (2 * math.pi))
    v = np.arcsin(np.clip(points[..., 1], -1, 1)) * (h / math.pi)
    col = (np.trunc(np.nan_to_num(u)).astype(int) + w // 2) % w
    row = np.clip(np.trunc(np.nan_to_num(v)).astype(int) + h // 2, 0, h - 1)
    near_edge = (np.abs(u - np.round(u)) < 1e-6) | (np.abs(v - np.round(v)) < 1e-6)
    return lights[row, col], near_edge


def levels(sine):
    return sum((sine <= b).astype(int) for b in BOUNDS), np.min([np.abs(sine - b) for b in BOUNDS], axis=0)


class NightModel(unittest.TestCase):
    def test_day_night_and_terminator_against_pyephem(self):
        with Image.open(os.path.join(DATA, "lights.gif")) as image:
            grey = np.array(image.getpalette()[:768]).reshape(-1, 3).max(1)
            lights = ((grey * 3 + 127) // 255)[np.asarray(image)]
        seen = set()
        with tempfile.TemporaryDirectory() as work:
            for at, place in (("2000-06-21T18:00Z", "30,40,12000"), ("2024-03-20T07:00Z", "10,150,9000"),
                              ("2010-12-21T22:00Z", "45,-70,6000"), ("2000-06-21T12:00Z", "80,0,14000")):
                camera, day, palette = render(work, "day", at, place)
                night_camera, night, _ = render(work, "night", at, place, "--night")
                self.assertEqual(camera, night_camera)
                tables = shade_tables(palette)
                points = surface(camera)
                # The picture never uses entry 0, which the frame keeps for
                # the space around the disc (its span ends round the rim).
                on_disc = ~np.isnan(points[..., 0]) & (day != 0)
                sine = np.nan_to_num(points @ sun_direction(at))
                level, gap = levels(sine)
                grade, near_edge = grades_at(points, lights)
                sure = on_disc & (gap > MARGIN) & ~near_edge
                self.assertTrue((night[~on_disc] == day[~on_disc]).all(), at)
                daylit = sure & (level == 0)
                self.assertTrue((night[daylit] == day[daylit]).all(), at)
                dark = sure & (level > 0)
                want = tables[level, grade, day]
                wrong = dark & (night != want)
                self.assertEqual(int(wrong.sum()), 0, (at, np.argwhere(wrong)[:5]))
                # The terminator lies where PyEphem puts the horizon: the day
                # above it is the plain frame, and below it the night is darker.
                full_night = sure & (level == 7)
                if full_night.any():
                    self.assertGreater((night[full_night] != day[full_night]).mean(), 0.5, at)
                seen.update(np.unique(level[sure]).tolist())
                if (grade[dark & (level == 7)] > 0).any():
                    seen.add("lights")
        self.assertEqual(seen, {0, 1, 2, 3, 4, 5, 6, 7, "lights"})

    def test_without_lights_gif_the_night_has_no_lights(self):
        with tempfile.TemporaryDirectory() as work:
            data = os.path.join(work, "data")
            shutil.copytree(DATA, data)
            os.remove(os.path.join(data, "lights.gif"))
            at, place = "2000-06-21T22:00Z", "48,10,9000"
            camera, day, palette = render(work, "day", at, place, "--data", data)
            _, night, _ = render(work, "night", at, place, "--data", data, "--night")
            points = surface(camera)
            level, gap = levels(np.nan_to_num(points @ sun_direction(at)))
            sure = ~np.isnan(points[..., 0]) & (day != 0) & (gap > MARGIN)
            want = shade_tables(palette)[level, 0, day]
            self.assertTrue((night[sure] == want[sure]).all())
            self.assertGreater(int((sure & (level == 7)).sum()), 1000)


if __name__ == "__main__":
    unittest.main()
