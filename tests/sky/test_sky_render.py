"""Whole frames from globetool render without the texture, checked with PyEphem."""
import json
import math
import os
import subprocess
import tempfile
import unittest

import ephem
from PIL import Image

GLOBETOOL = os.environ.get("GLOBETOOL", "globetool")
LIT, DARK = 143, 135


def render(at, place, *args):
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "frame.pcx")
        result = subprocess.run([GLOBETOOL, "render", "--no-texture", "--no-status", "--no-labels", "--camera",
                                 "--at", at, "--from", place, "--out", out, *args],
                                capture_output=True, text=True, check=True)
        with Image.open(out) as image:
            return json.loads(result.stdout), image.copy()


def observer(at, lat, lon, alt_miles):
    o = ephem.Observer()
    o.lat, o.lon, o.elevation, o.pressure = str(lat), str(lon), alt_miles * 1609.344, 0
    o.date = ephem.Date(at.replace("T", " ").rstrip("Z"))
    return o


def earth_fixed(body, camera):
    """The body's direction from its altitude and azimuth, in the viewer's frame."""
    p = camera["viewpos"]
    r = math.sqrt(sum(c * c for c in p))
    up = [c / r for c in p]
    h = math.hypot(p[0], p[2])
    east = [-p[2] / h, 0.0, p[0] / h]
    north = [up[1] * east[2] - up[2] * east[1], up[2] * east[0] - up[0] * east[2], up[0] * east[1] - up[1] * east[0]]
    ca, sa, cz, sz = math.cos(body.alt), math.sin(body.alt), math.cos(body.az), math.sin(body.az)
    return [ca * (cz * n + sz * e) + sa * u for n, e, u in zip(north, east, up)]


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def project(direction, camera):
    f = dot(direction, camera["viewfwd"])
    k = camera["zoom"] * 0.5 / f
    return (dot(direction, camera["viewright"]) * k + camera["xres"] * 0.5,
            dot(direction, camera["viewdown"]) * k + camera["yres"] * 0.5)


class SkyRender(unittest.TestCase):
    def test_moon_shows_its_lit_side_towards_the_sun(self):
        # Near first quarter and gibbous in New England evenings, a waning
        # crescent before dawn in Sydney.
        for at, lat, lon in [("2000-01-14T00:00Z", 41.66, -71.48), ("2021-03-22T23:30Z", 41.66, -71.48),
                             ("2021-03-08T18:30Z", -33.87, 151.2)]:
            camera, image = render(at, f"{lat},{lon},5", "--look", "moon", "--zoom", "50")
            o = observer(at, lat, lon, 5)
            moon, sun = ephem.Moon(o), ephem.Sun(o)
            self.assertGreater(moon.alt, 0.1, at)

            pixels = image.load()
            lit, dark = [], []
            for y in range(image.height):
                for x in range(image.width):
                    if pixels[x, y] == LIT:
                        lit.append((x, y))
                    elif pixels[x, y] == DARK:
                        dark.append((x, y))
            disc = lit + dark
            radius = math.sqrt(len(disc) / math.pi)
            expected = 0.5 * camera["zoom"] * math.tan(math.radians(moon.size / 3600 / 2))
            self.assertAlmostEqual(radius, expected, delta=0.05 * expected)
            # The disc at the centre of the view, as tracked.
            cx = sum(x for x, _ in disc) / len(disc)
            cy = sum(y for _, y in disc) / len(disc)
            self.assertLess(math.hypot(cx - 320, cy - 240), 3, at)
            # Lit share as PyEphem's illuminated fraction.
            self.assertAlmostEqual(len(lit) / len(disc), moon.moon_phase, delta=0.02)
            # The lit side faces the Sun's direction on the screen.
            s = earth_fixed(sun, camera)
            towards = (dot(s, camera["viewright"]), dot(s, camera["viewdown"]))
            lx = sum(x for x, _ in lit) / len(lit) - cx
            ly = sum(y for _, y in lit) / len(lit) - cy
            cosine = (lx * towards[0] + ly * towards[1]) / (math.hypot(lx, ly) * math.hypot(*towards))
            self.assertGreater(cosine, 0.995, at)
            print(f"{at}: lit share {len(lit) / len(disc):.3f} (PyEphem {moon.moon_phase:.3f}), "
                  f"lit side {math.degrees(math.acos(min(1, cosine))):.1f} degrees off the Sun's direction")

    def test_sirius_overhead_where_pyephem_puts_it(self):
        lat, lon = -16.7161, 0.0
        o = observer("2000-01-01T00:00Z", lat, lon, 5)
        sirius = ephem.star("Sirius")
        when = o.next_transit(sirius)
        at = ephem.Date(when).datetime().strftime("%Y-%m-%dT%H:%M:%SZ")
        camera, image = render(at, f"{lat},{lon},5", "--look", "up")
        o.date = ephem.Date(at.replace("T", " ").rstrip("Z"))
        sirius.compute(o)
        x, y = project(earth_fixed(sirius, camera), camera)
        pixels = image.load()
        around = [pixels[round(x) + dx, round(y) + dy] for dx in (-1, 0, 1) for dy in (-1, 0, 1)]
        self.assertIn(63, around, (x, y))


if __name__ == "__main__":
    unittest.main()
