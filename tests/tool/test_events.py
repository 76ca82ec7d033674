"""The event search of `globetool events` against PyEphem's risings, transits and equinoxes."""
import datetime
import os
import random
import subprocess
import unittest

import ephem

GLOBETOOL = os.environ["GLOBETOOL"]
MINUTE = datetime.timedelta(minutes=1)


def run_events(body, at, lat=0.0, lon=0.0, *flags):
    out = subprocess.run([GLOBETOOL, "events", body, "--at", at.strftime("%Y-%m-%dT%H:%M:%SZ"), "--from",
                          f"{lat},{lon},0", *flags], check=True, capture_output=True, text=True,
                         env={**os.environ, "TZ": "UTC"}).stdout
    kind, when = out.strip().split(",")
    return kind, datetime.datetime.strptime(when, "%Y-%m-%dT%H:%M:%SZ")


def places(count, seed):
    rng = random.Random(seed)
    for _ in range(count):
        when = datetime.datetime(1990, 1, 1) + datetime.timedelta(days=rng.uniform(0, 40 * 365.25))
        o = ephem.Observer()
        o.lat, o.lon, o.elevation, o.pressure, o.horizon = str(rng.uniform(-60, 60)), str(rng.uniform(-180, 180)), 0, 0, "-0:50"
        o.date = ephem.Date(when)
        yield o


class EventsAgainstPyEphem(unittest.TestCase):
    def check(self, body, expected, lead, o, kind, tolerance=120, *flags):
        found_kind, found = run_events(body, expected - lead, o.lat / ephem.degree, o.lon / ephem.degree, *flags)
        self.assertEqual(found_kind, kind, (o.lat, o.lon, expected))
        self.assertLessEqual(abs((found - expected).total_seconds()), tolerance, f"{kind}: {found} vs {expected}")

    def test_sunrise_sunset_and_moon_transit(self):
        for o in places(50, 1):
            for kind, event in (("rise", o.next_rising), ("set", o.next_setting)):
                self.check("sun", event(ephem.Sun(), use_center=True).datetime(), 40 * MINUTE, o, kind)
        checked = 0
        for o in places(200, 2):
            moon = ephem.Moon()
            o.date = transit = o.next_transit(moon)
            moon.compute(o)
            if moon.alt > ephem.degrees("30") and checked < 50:  # nearer the meridian than the horizon
                self.check("moon", transit.datetime(), 30 * MINUTE, o, "transit")
                checked += 1
        self.assertEqual(checked, 50)

    def test_a_polar_sunrise_more_than_a_week_away(self):
        # At 78 degrees north the first sunrise after the polar night, from
        # eight and ten days before: the search walks by hours to it.
        o = ephem.Observer()
        o.lat, o.lon, o.elevation, o.pressure, o.horizon = "78", "15", 0, 0, "-0:50"
        o.date = ephem.Date(datetime.datetime(2027, 2, 15))
        expected = o.next_rising(ephem.Sun(), use_center=True).datetime()
        for days in (8, 10):
            self.check("sun", expected, datetime.timedelta(days=days, hours=2), o, "rise")

    def test_equinoxes_and_a_search_outside_their_months(self):
        equator = ephem.Observer()
        for year in range(2000, 2031):
            for month in (3, 9):
                start = datetime.datetime(year, month, 1)
                expected = ephem.next_equinox(ephem.Date(start)).datetime()
                self.check("sun", expected, expected - start, equator, "equinox", 45 * 60, "--equinox")
        june = datetime.datetime(2010, 6, 15, 10, 20, 30)
        self.assertEqual(run_events("sun", june, 0, 0, "--equinox"), ("none", june))


if __name__ == "__main__":
    unittest.main()
