"""globetool's refusals from the outside, one table: inputs that are folders,
FIFOs or endless devices, results that cannot be written, lines too long (the
longest allowed taken), and bad or missing option values; each names its
reason and never exits 0."""
import os
import subprocess
import tempfile
import unittest

GLOBETOOL = os.environ["GLOBETOOL"]
DATA = os.environ["GLOBE_DATA"]
SHORE = os.path.join(DATA, "SHOREX.DAT")
GIF = os.path.join(DATA, "globe.gif")
FULL = "can't write standard output: No space left on device"
POSITION = (("--at", "2001-02-29T00:00Z", "real date"), ("--at", "2000-04-31T00:00", "real date"),
            ("--at", "yesterday", "--at"), ("--from", "nan,0", "LAT -90 to 90"), ("--from", "0,inf", "LON -180 to 180"),
            ("--from", "91,0", "LAT -90 to 90"), ("--from", "0,181", "LON -180 to 180"),
            ("--from", "0,0,1e308", "at most 1e9 miles"), ("--from", "0,0,-4000", "above -3964"),
            ("--at", None, "--at: 1 required"), ("--from", None, "--from: 1 required"), ("--data", SHORE, "--data"))
RENDER = (("--zoom 0.5", "from 1 to"), ("--zoom nan", "from 1 to"), ("--frames 1e9", "1 to 1000000"),
          ("--frames 2.5", "--frames"), ("--frames 0", "1 to 1000000"), ("--count 0", "1 to 100000"),
          ("--count 3 --out a.png", "printf-style"), ("--count 3 --out a%d%d.png", "printf-style"),
          ("--step 1h", "--count"), ("--count 2 --step 1y --out %d.png", "90s, 10m"), ("--count 2 --frames 2", "--frames"),
          ("--size 0x10", "1 to 8192"), ("--look sideways", "unknown view"), ("--shore", "--shore: 1 required"),
          ("--bogus", "--bogus"))


def long_line(length):
    return "10" + " " * (length - 4) + "20\n"


class Refusals(unittest.TestCase):
    def test_every_refusal_names_its_reason(self):
        with tempfile.TemporaryDirectory() as work:
            fifo, folder_gif = os.path.join(work, "fifo.gif"), os.path.join(work, "folder.gif")
            os.mkfifo(fifo)
            os.mkdir(folder_gif)
            folder = os.open(DATA, os.O_RDONLY)
            self.addCleanup(os.close, folder)
            cases = [(["gif", fifo], "", 1, "it is not a regular file"), (["gif", folder_gif], "", 1, "it is a folder"),
                     (["inland", "--shore", "/dev/zero"], "", 1, "Can't load shore"),
                     (["map", fifo], "", 1, "Can't load shore"),
                     (["inland", "--shore", SHORE], folder, 1, "can't read standard input: Is a directory"),
                     (["inland", "--shore", SHORE], "0 0\n" + long_line(512), 1, "line 2: longer than 511 characters"),
                     (["inland", "--shore", SHORE], long_line(511) + long_line(510) + long_line(511)[:-1], 0, ""),
                     (["inland"], "0 0\n", 1, "SHOREX.DAT")]  # a bad file in the working folder, no --data
            for command in ("sky", "events sun", "render", "inland"):
                for option, value, says in POSITION:
                    if command != "inland" or option == "--data":
                        cases.append((command.split() + [option] + ([value] if value else []), "", 2, says))
            cases += [(["render", *options.split()], "", 2, says) for options, says in RENDER]
            for args, stdin in ((["inland", "--shore", SHORE], "0 0\n" * 10), (["map", SHORE], ""), (["sky"], ""),
                                (["events", "sun", "--at", "2000-01-01T00:00Z"], ""), (["gif", GIF], ""),
                                (["render", "--size", "8x8", "--camera", "--out", os.devnull], ""),
                                (["--help"], ""), (["render", "--help"], ""), (["inland", "--help"], "")):
                cases.append((args, stdin, 1, FULL))
            with open(os.path.join(work, "SHOREX.DAT"), "wb") as bad:
                bad.write(b"not a shoreline file")
            for args, stdin, code, says in cases:
                feed = {"input": stdin, "text": True} if isinstance(stdin, str) else {"stdin": stdin}
                with open("/dev/full" if says == FULL else os.devnull, "w") as out:
                    result = subprocess.run([GLOBETOOL, *args], stdout=out, stderr=subprocess.PIPE, cwd=work,
                                            timeout=30, **feed)
                self.assertEqual(result.returncode, code, args)
                self.assertIn(says, str(result.stderr), args)
            wins = subprocess.run([GLOBETOOL, "inland", "--data", DATA], input="39 -98\n", capture_output=True,
                                  text=True, cwd=work)  # over the bad file in the working folder
            self.assertEqual(wins.stdout, "1\n")

if __name__ == "__main__":
    unittest.main()
