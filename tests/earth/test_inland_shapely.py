"""The shipped shorelines and the viewer's point-in-land test, checked
against Shapely's point-in-polygon test on the same loops.

The loops come from `globetool map --dump` of data/SHOREX.DAT. Shapely works
in the longitude-latitude plane, so the oracle undoes what the plane cannot
show: loops across the date line are unwrapped and tested at the point's
longitude and one turn either side, and the loop around the South Pole is
closed through the pole, as land lies on the Earth.
"""
import os
import subprocess
import unittest

import numpy as np
import shapely.vectorized
from shapely.geometry import Polygon

GLOBETOOL = os.environ["GLOBETOOL"]
SHORE = os.path.join(os.environ["GLOBE_DATA"], "SHOREX.DAT")


def dumped_loops():
    text = subprocess.run([GLOBETOOL, "map", SHORE, "--dump"], check=True, capture_output=True, text=True).stdout
    loops = []
    for block in text.split("\n\n"):
        points = [tuple(map(float, line.split())) for line in block.splitlines() if line.strip()]
        if points:
            loops.append(points)
    return loops


def short_step(a, b):
    step = b - a
    return step - 360 * round(step / 360)


def unwrapped(loop):
    """Longitudes made continuous, and the turns the loop makes around a pole."""
    lons = [loop[0][0]]
    for (a, _), (b, _) in zip(loop, loop[1:]):
        lons.append(lons[-1] + short_step(a, b))
    turns = round((lons[-1] + short_step(loop[-1][0], loop[0][0]) - lons[0]) / 360)
    return [(lon, lat) for lon, (_, lat) in zip(lons, loop)], turns


def oracle_polygon(loop):
    points, turns = unwrapped(loop)
    if turns:
        # Around a pole: close the loop beyond the pole on the side of its
        # points (the South Pole for Antarctica), so the pole lies inside.
        pole = -91.0 if sum(lat for _, lat in points) < 0 else 91.0
        first_lon, first_lat = points[0]
        end = first_lon + 360 * turns
        points = points + [(end, first_lat), (end, pole), (first_lon, pole)]
    return Polygon(points)


def oracle_land(polygons, lons, lats):
    """Parity of the loops that hold each point, tried one turn either side."""
    land = np.zeros(len(lons), dtype=bool)
    for polygon in polygons:
        minx, miny, maxx, maxy = polygon.bounds
        inside = np.zeros(len(lons), dtype=bool)
        for shift in (-360.0, 0.0, 360.0):
            x = lons + shift
            candidates = np.nonzero((x >= minx) & (x <= maxx) & (lats >= miny) & (lats <= maxy))[0]
            if len(candidates):
                inside[candidates] |= shapely.vectorized.contains(polygon, x[candidates], lats[candidates])
        land ^= inside
    return land


def viewer_land(lats, lons):
    lines = "".join(f"{lat!r} {lon!r}\n" for lat, lon in zip(lats, lons))
    out = subprocess.run([GLOBETOOL, "inland", "--shore", SHORE], input=lines, check=True, capture_output=True,
                         text=True).stdout
    return np.array([line == "1" for line in out.split()], dtype=bool)


class InlandAgainstShapely(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.polygons = [oracle_polygon(loop) for loop in dumped_loops()]

    def test_random_points_agree(self):
        rng = np.random.default_rng(20240601)
        count = 100000
        lats = np.degrees(np.arcsin(rng.uniform(-1, 1, count)))
        lons = rng.uniform(-180, 180, count)
        expected = oracle_land(self.polygons, lons, lats)
        got = viewer_land(lats, lons)
        self.assertEqual(len(got), count)
        # The sphere is about 29% land at this scale; a grossly wrong loop
        # (Antarctica, a date-line island) would move this a lot.
        self.assertAlmostEqual(expected.mean(), 0.29, delta=0.02)
        # Both take the segments as straight in longitude and latitude, so
        # they agree everywhere, coasts included.
        self.assertEqual([(lats[i], lons[i], got[i]) for i in np.nonzero(got != expected)[0]], [])

    def test_known_places(self):
        places = [
            ("South Pole", -90, 0, True),
            ("near the South Pole", -89.9999, 123.4, True),
            ("Antarctica east of the date line", -85.5, -179.9, True),
            ("Antarctica west of the date line", -85.5, 179.9, True),
            ("Wrangel Island, west", 71.2, -179.9, True),
            ("Wrangel Island, east", 71.2, 179.9, True),
            ("Vanua Levu", -16.6, 179.3, True),
            ("North Pole", 90, 0, False),
            ("Caspian Sea, a hole in Eurasia", 42.0, 50.5, False),
            ("Pacific on the date line", 0.0, 180.0, False),
        ]
        lats = np.array([p[1] for p in places], dtype=float)
        lons = np.array([p[2] for p in places], dtype=float)
        got = viewer_land(lats, lons)
        oracle = oracle_land(self.polygons, lons, lats)
        for (name, _, _, land), viewer, shapely_says in zip(places, got, oracle):
            self.assertEqual(bool(viewer), land, name)
            self.assertEqual(bool(shapely_says), land, name)


if __name__ == "__main__":
    unittest.main()
