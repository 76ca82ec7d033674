"""The event search of `globetool events` against PyEphem's risings, transits and equinoxes."""
import datetime
import os
import random
import subprocess
import unittest

import ephem

GLOBETOOL = os.environ["GLOBETOOL"]


def run_events(body, at, lat=0.0, lon=0.0, equinox=False):
    args = [GLOBETOOL, "events", body, "--at", at.strftime("%Y-%m-%dT%H:%M:%SZ"), "--from", f"{lat},{lon},0"]
    if equinox:
        args.append("--equinox")
    out = subprocess.run(args, check=True, capture_output=True, text=True, env={**os.environ, "TZ": "UTC"}).stdout
    kind, when = out.strip().split(",")
    return kind, datetime.datetime.strptime(when, "%Y-%m-%dT%H:%M:%SZ")


def observer(lat, lon, when):
    o = ephem.Observer()
    o.lat, o.lon = str(lat), str(lon)
    o.elevation = 0
    o.pressure = 0
    o.horizon = "-0:50"
    o.date = ephem.Date(when)
    return o


def places(count, seed):
    rng = random.Random(seed)
    start = datetime.datetime(1990, 1, 1)
    for _ in range(count):
        when = start + datetime.timedelta(days=rng.uniform(0, 40 * 365.25))
        yield rng.uniform(-60, 60), rng.uniform(-180, 180), when


class EventsAgainstPyEphem(unittest.TestCase):
    def check(self, body, expected, lead, lat, lon, kind, tolerance=120, **flags):
        found_kind, found = run_events(body, expected - lead, lat, lon, **flags)
        self.assertEqual(found_kind, kind, (lat, lon, expected))
        self.assertLessEqual(abs((found - expected).total_seconds()), tolerance, f"{kind}: {found} vs {expected}")

    def test_sunrise_and_sunset(self):
        for lat, lon, when in places(50, 1):
            for kind, event in (("rise", "next_rising"), ("set", "next_setting")):
                expected = getattr(observer(lat, lon, when), event)(ephem.Sun(), use_center=True).datetime()
                self.check("sun", expected, datetime.timedelta(minutes=40), lat, lon, kind)

    def test_moon_transit(self):
        checked = 0
        for lat, lon, when in places(200, 2):
            o, moon = observer(lat, lon, when), ephem.Moon()
            o.date = transit = o.next_transit(moon)
            moon.compute(o)
            if moon.alt < ephem.degrees("30"):
                continue  # the search starts from a Moon nearer the meridian than the horizon
            self.check("moon", transit.datetime(), datetime.timedelta(minutes=30), lat, lon, "transit")
            checked += 1
            if checked == 50:
                break
        self.assertEqual(checked, 50)

    def test_equinoxes_and_a_search_outside_their_months(self):
        for year in range(2000, 2031):
            for month in (3, 9):
                start = datetime.datetime(year, month, 1)
                expected = ephem.next_equinox(ephem.Date(start)).datetime()
                self.check("sun", expected, expected - start, 0, 0, "equinox", 45 * 60, equinox=True)
        june = datetime.datetime(2010, 6, 15, 10, 20, 30)
        self.assertEqual(run_events("sun", june, equinox=True), ("none", june))


if __name__ == "__main__":
    unittest.main()
