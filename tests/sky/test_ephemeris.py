"""globetool sky against PyEphem for a century of dates and places."""
import csv
import datetime
import io
import math
import os
import random
import subprocess
import unittest

import ephem

GLOBETOOL = os.environ.get("GLOBETOOL", "globetool")
HEADER = ["body", "ra_hours", "dec_degrees", "distance_mmiles", "altitude_degrees", "azimuth_degrees"]
BODIES = [("MERCURY", ephem.Mercury), ("VENUS", ephem.Venus), ("MOON", ephem.Moon), ("MARS", ephem.Mars),
          ("JUPITER", ephem.Jupiter), ("SATURN", ephem.Saturn), ("URANUS", ephem.Uranus),
          ("NEPTUNE", ephem.Neptune), ("PLUTO", ephem.Pluto), ("SUN", ephem.Sun)]
# Arcminutes, a little above the worst these dates give: the theory is good
# to 1-4', and a wrong term of a few hundredths of a degree shows.
LIMIT = {"MERCURY": 1.7, "VENUS": 1.4, "MOON": 8, "MARS": 2.5, "JUPITER": 2, "SATURN": 4, "URANUS": 3,
         "NEPTUNE": 2.3, "PLUTO": 2, "SUN": 1.3}
# Distance as a share of PyEphem's, for the nearest bodies: tight enough that
# the Earth's monthly swing about the Earth-Moon barycentre shows.
DISTANCE_LIMIT = {"MERCURY": 1.45e-4, "VENUS": 1.85e-4, "SUN": 5e-5}
MMILES_PER_AU = 92.9558068380657
EARTH_RADIUS_MMILES = 0.003964


def run(*args, env=None):
    return subprocess.run([GLOBETOOL, "sky", *args], capture_output=True, text=True, env=env)


def sky(when, lat, lon, alt, env=None):
    stamp = when.strftime("%Y-%m-%dT%H:%M:%SZ")
    result = run("--at", stamp, "--from", f"{lat!r},{lon!r},{alt!r}", env=env)
    if result.returncode != 0:
        raise AssertionError(f"globetool sky failed: {result.stderr}")
    rows = list(csv.reader(io.StringIO(result.stdout)))
    return rows


def arcmin(a, b):
    return math.degrees(ephem.separation(a, b)) * 60


class SkyAgainstPyEphem(unittest.TestCase):
    def test_a_century_of_dates(self):
        rng = random.Random(7)
        start = datetime.datetime(1950, 1, 1, tzinfo=datetime.timezone.utc)
        span = int((datetime.datetime(2050, 1, 1, tzinfo=datetime.timezone.utc) - start).total_seconds())
        worst = {name: 0.0 for name, _ in BODIES}
        worst_horizontal = {name: 0.0 for name, _ in BODIES}
        for case in range(100):
            # Spread evenly over the century, at a random second of each stretch.
            when = start + datetime.timedelta(seconds=span * case // 100 + rng.randrange(span // 100))
            lat, lon, alt = rng.uniform(-75, 75), rng.uniform(-180, 180), rng.uniform(0, 3)
            rows = sky(when, lat, lon, alt)
            self.assertEqual(rows[0], HEADER)
            self.assertEqual([r[0] for r in rows[1:]], [name for name, _ in BODIES])

            observer = ephem.Observer()
            observer.lat, observer.lon = str(lat), str(lon)
            observer.elevation = alt * 1609.344
            observer.pressure = 0  # no refraction
            observer.date = ephem.Date(when.replace(tzinfo=None))
            for row, (name, make) in zip(rows[1:], BODIES):
                ra_h, dec, dist, altitude, azimuth = (float(x) for x in row[1:])
                body = make()
                body.compute(observer)
                # Both apparent, topocentric and of the equinox of date.
                ours = (math.radians(ra_h * 15), math.radians(dec))
                error = arcmin(ours, (body.ra, body.dec))
                where = f"{name} at {when:%Y-%m-%d %H:%M:%S} from {lat:.3f},{lon:.3f},{alt:.2f}"
                self.assertLess(error, LIMIT[name], where)
                worst[name] = max(worst[name], error)

                horizontal = arcmin((math.radians(azimuth), math.radians(altitude)), (body.az, body.alt))
                self.assertLess(horizontal, LIMIT[name], where + " (altitude, azimuth)")
                worst_horizontal[name] = max(worst_horizontal[name], horizontal)

                # PyEphem gives the distance from the Earth's centre; ours is
                # from the viewer, at most an Earth radius (and a few miles) off.
                geocentric = body.earth_distance * MMILES_PER_AU
                slack = 0.005 * geocentric + EARTH_RADIUS_MMILES * (1 + alt / 3964)
                slack = DISTANCE_LIMIT[name] * geocentric if name in DISTANCE_LIMIT else slack
                self.assertLess(abs(dist - geocentric), slack, where + " (distance)")
                self.assertTrue(0 <= ra_h < 24 and -90 <= dec <= 90 and 0 <= azimuth < 360, where)
        print("worst RA/Dec error (arcmin):", {k: round(v, 2) for k, v in worst.items()})
        print("worst alt/az error (arcmin):", {k: round(v, 2) for k, v in worst_horizontal.items()})


class SkyCommandLine(unittest.TestCase):
    def test_time_zone_does_not_move_the_sky(self):
        when = datetime.datetime(2010, 7, 11, 19, 33, 20, tzinfo=datetime.timezone.utc)
        reference = sky(when, 40.0, -75.0, 1.0)
        for zone in ["UTC", "America/New_York", "Australia/Sydney", "Asia/Kathmandu"]:
            env = dict(os.environ, TZ=zone)
            self.assertEqual(sky(when, 40.0, -75.0, 1.0, env=env), reference, zone)
        offset = run("--at", "2010-07-11T21:33:20+02:00", "--from", "40.0,-75.0,1.0")
        self.assertEqual(list(csv.reader(io.StringIO(offset.stdout))), reference)
        local = run("--at", "2010-07-11T15:33:20", "--from", "40.0,-75.0,1.0",
                    env=dict(os.environ, TZ="America/New_York"))
        self.assertEqual(list(csv.reader(io.StringIO(local.stdout))), reference)

    def test_usage(self):
        help_run = run("--help")
        self.assertEqual(help_run.returncode, 0)
        self.assertIn("usage: globetool sky", help_run.stdout)
        for bad in (["--at", "2010-13-01T00:00Z"], ["--from", "91,0"], ["--from"], ["--bogus"]):
            result = run(*bad)
            self.assertEqual(result.returncode, 2, bad)
            self.assertEqual(result.stdout, "", bad)
            self.assertNotEqual(result.stderr, "", bad)
        default = run()
        self.assertEqual(default.returncode, 0)
        self.assertEqual(len(default.stdout.splitlines()), 11)


if __name__ == "__main__":
    unittest.main()
