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
    def check(self, kind, found, expected, label):
        self.assertLessEqual(abs((found - expected).total_seconds()), 120, f"{label}: {found} vs {expected}")

    def test_sunrise_and_sunset(self):
        for lat, lon, when in places(50, 1):
            o = observer(lat, lon, when)
            rise = o.next_rising(ephem.Sun(), use_center=True).datetime()
            kind, found = run_events("sun", rise - datetime.timedelta(minutes=40), lat, lon)
            self.assertEqual(kind, "rise", (lat, lon, rise))
            self.check(kind, found, rise, f"sunrise at {lat:.2f},{lon:.2f}")

            o = observer(lat, lon, when)
            setting = o.next_setting(ephem.Sun(), use_center=True).datetime()
            kind, found = run_events("sun", setting - datetime.timedelta(minutes=40), lat, lon)
            self.assertEqual(kind, "set", (lat, lon, setting))
            self.check(kind, found, setting, f"sunset at {lat:.2f},{lon:.2f}")

    def test_moon_transit(self):
        checked = 0
        for lat, lon, when in places(200, 2):
            o = observer(lat, lon, when)
            moon = ephem.Moon()
            transit = o.next_transit(moon)
            o.date = transit
            moon.compute(o)
            if moon.alt < ephem.degrees("30"):
                continue  # the search starts from a Moon nearer the meridian than the horizon
            kind, found = run_events("moon", transit.datetime() - datetime.timedelta(minutes=30), lat, lon)
            self.assertEqual(kind, "transit", (lat, lon, transit))
            self.check(kind, found, transit.datetime(), f"moon transit at {lat:.2f},{lon:.2f}")
            checked += 1
            if checked == 50:
                break
        self.assertEqual(checked, 50)

    def test_equinoxes(self):
        for year in range(2000, 2031):
            for month in (3, 9):
                start = datetime.datetime(year, month, 1)
                expected = ephem.next_equinox(ephem.Date(start)).datetime()
                kind, found = run_events("sun", start, equinox=True)
                self.assertEqual(kind, "equinox")
                self.assertLessEqual(abs((found - expected).total_seconds()), 45 * 60, f"{found} vs {expected}")

    def test_equinox_search_outside_its_months_only_freezes(self):
        kind, found = run_events("sun", datetime.datetime(2010, 6, 15, 10, 20, 30), equinox=True)
        self.assertEqual((kind, found), ("none", datetime.datetime(2010, 6, 15, 10, 20, 30)))

    def test_polar_night_ends(self):
        kind, _ = run_events("sun", datetime.datetime(2001, 12, 15, 12), 80, 0)
        self.assertIn(kind, ("rise", "set", "transit", "lower-transit", "none"))


if __name__ == "__main__":
    unittest.main()
