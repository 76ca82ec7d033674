"""globetool's edges from the outside: results that cannot be written, lines
too long or unreadable, where data files are found, and bad option values."""
import os
import subprocess
import tempfile
import unittest

GLOBETOOL = os.environ["GLOBETOOL"]
DATA = os.environ["GLOBE_DATA"]
SHORE = os.path.join(DATA, "SHOREX.DAT")


def run(*args, stdin="", cwd=None):
    return subprocess.run([GLOBETOOL, *args], input=stdin, capture_output=True, text=True, cwd=cwd)


class ToolEdges(unittest.TestCase):
    def test_full_standard_output_fails(self):
        for args, stdin in ((["inland", "--shore", SHORE], "0 0\n" * 10), (["map", SHORE], ""),
                            (["events", "sun", "--at", "2000-01-01T00:00Z"], ""), (["sky"], ""),
                            (["gif", os.path.join(DATA, "globe.gif")], ""),
                            (["render", "--size", "8x8", "--camera", "--out", os.devnull], ""),
                            (["--help"], ""), (["render", "--help"], ""), (["inland", "--help"], "")):
            with open("/dev/full", "w") as full:
                result = subprocess.run([GLOBETOOL, *args], input=stdin, stdout=full, stderr=subprocess.PIPE,
                                        text=True)
            self.assertEqual(result.returncode, 1, args)
            self.assertIn("can't write standard output: No space left on device", result.stderr, args)

    def test_inland_long_lines_and_read_errors(self):
        def line(length):
            return "10" + " " * (length - 4) + "20"
        result = run("inland", "--shore", SHORE, stdin="0 0\n" + line(512) + "\n0 0\n")
        self.assertEqual((result.returncode, result.stdout), (1, "0\n"))
        self.assertIn("line 2: longer than 511 characters", result.stderr)
        for text in (line(511) + "\n" + line(511), line(510) + "\n" + line(511) + "\n"):
            self.assertEqual(run("inland", "--shore", SHORE, stdin=text).stdout, "1\n1\n")
        folder = os.open(DATA, os.O_RDONLY)
        try:
            result = subprocess.run([GLOBETOOL, "inland", "--shore", SHORE], stdin=folder, capture_output=True,
                                    text=True)
        finally:
            os.close(folder)
        self.assertEqual(result.returncode, 1)
        self.assertIn("can't read standard input: Is a directory", result.stderr)

    def test_an_explicit_data_folder_wins(self):
        with tempfile.TemporaryDirectory() as work:
            with open(os.path.join(work, "SHOREX.DAT"), "wb") as bad:
                bad.write(b"not a shoreline file")
            self.assertEqual(run("inland", stdin="0 0\n", cwd=work).returncode, 1)
            self.assertEqual(run("inland", "--data", DATA, stdin="39 -98\n", cwd=work).stdout, "1\n")
            for args in (["inland"], ["render"], ["sky"]):
                result = run(*args, "--data", SHORE)
                self.assertEqual(result.returncode, 2, args)
                self.assertIn("--data", result.stderr)

    def test_bad_values_name_the_accepted_form(self):
        for args, says in ((["--at", "2001-02-29T00:00Z"], "real date"), (["--at", "2000-04-31T00:00"], "real date"),
                           (["--from", "nan,0"], "LAT -90 to 90"), (["--from", "0,inf"], "LON -180 to 180"),
                           (["--from", "91,0"], "LAT -90 to 90"), (["--from", "0,181"], "LON -180 to 180"),
                           (["--from", "0,0,1e308"], "at most 1e9 miles"), (["--from", "0,0,-4000"], "above -3964"),
                           (["--at"], "--at: 1 required"), (["--from"], "--from: 1 required")):
            for command in ("sky", "events sun", "render"):
                result = run(*command.split(), *args)
                self.assertEqual(result.returncode, 2, (command, args))
                self.assertIn(says, result.stderr, (command, args))
        for args, says in ((["--zoom", "0.5"], "from 1 to"), (["--zoom", "nan"], "from 1 to"),
                           (["--frames", "1e9"], "1 to 1000000"), (["--frames", "2.5"], "--frames"),
                           (["--frames", "0"], "1 to 1000000"), (["--count", "0"], "1 to 100000"),
                           (["--count", "x"], "--count"), (["--count", "3", "--out", "a.png"], "printf-style"),
                           (["--count", "3", "--out", "a%d%d.png"], "printf-style"), (["--step", "1h"], "--count"),
                           (["--count", "2", "--step", "1y", "--out", "%d.png"], "90s, 10m"),
                           (["--count", "2", "--step", "h", "--out", "%d.png"], "90s, 10m"),
                           (["--count", "2", "--frames", "2"], "--frames"), (["--size", "0x10"], "1 to 8192"),
                           (["--look", "sideways"], "unknown view"), (["--shore"], "--shore: 1 required"),
                           (["--bogus"], "--bogus")):
            result = run("render", *args)
            self.assertEqual(result.returncode, 2, args)
            self.assertIn(says, result.stderr, args)


if __name__ == "__main__":
    unittest.main()
