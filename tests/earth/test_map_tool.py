"""The shipped files' text dumps, encoded again by the data recipe's encoder,
give the same bytes; inland answers line by line."""
import os
import subprocess
import unittest

GLOBETOOL = os.environ["GLOBETOOL"]
DATA = os.environ["GLOBE_DATA"]
ENCODE_MAP = os.environ["ENCODE_MAP"]
SHORE = os.path.join(DATA, "SHOREX.DAT")
BORDERS = os.path.join(DATA, "BORDX.DAT")


def run(*args, stdin=""):
    return subprocess.run([GLOBETOOL, *args], input=stdin, capture_output=True, text=True)


class MapCommand(unittest.TestCase):
    def test_dumps_encode_back_to_the_same_files(self):
        for path, kind, flags in ((SHORE, "shore", []), (BORDERS, "bords", ["--borders"])):
            dump = run("map", path, "--dump", *flags)
            self.assertEqual(dump.returncode, 0, dump.stderr)
            self.assertTrue(dump.stdout.endswith("\n\n"))
            encoded = subprocess.run([ENCODE_MAP, kind, "65536"], input=dump.stdout.encode(), capture_output=True,
                                     check=True).stdout
            with open(path, "rb") as f:
                self.assertEqual(encoded, f.read(), kind)


class InlandCommand(unittest.TestCase):
    def test_answers_line_by_line_and_stops_at_bad_input(self):
        result = run("inland", "--shore", SHORE, stdin="39 -98\n\n  0 0  \n-90 0\n")
        self.assertEqual((result.returncode, result.stdout), (0, "1\n0\n1\n"), result.stderr)
        result = run("inland", "--shore", SHORE, stdin="39 -98\n91 0\n0 0\n")
        self.assertEqual((result.returncode, result.stdout), (1, "1\n"))
        self.assertIn("line 2", result.stderr)
        for bad in ("39\n", "39 -98 5\n", "north east\n"):
            self.assertEqual(run("inland", "--shore", SHORE, stdin=bad).returncode, 1, bad)
        self.assertEqual(run("inland", "--bogus").returncode, 2)


if __name__ == "__main__":
    unittest.main()
