"""Frames a second of the web page in headless Chromium on this machine, for
each of its builds: the threaded one on a page served with the isolation
headers, the single-threaded one without them. Views: the disc filling a
1920 x 1080 frame (30 N 10 E, 1500 miles up, looking at the centre), the home
view at 1920 x 1080, and the disc filling a 3840 x 2160 frame.

usage: web_fps.py [WEB_DIR] [--seconds N]   (WEB_DIR defaults to build/web, from scripts/web)
"""
import argparse
import os
import sys
import tempfile
import threading
import time

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path[:0] = [os.path.join(root, "tests", "web"), os.path.join(root, "scripts")]
from chromium import Chromium, until  # noqa: E402
import web_server  # noqa: E402

FILLED = "at=2024-03-20T12:00:00Z&from=30,10,1500&look=centre"
VIEWS = [("disc filling 1920x1080", f"size=1920x1080&{FILLED}"), ("home view 1920x1080", "size=1920x1080"),
         ("disc filling 3840x2160", f"size=3840x2160&{FILLED}")]


def rate(b, url, seconds):
    b.call("Page.navigate", url=url)
    until(lambda: b.evaluate("typeof globeStats == 'object' && globeStats.frames > 3"), "the page drew no frames", 120)
    time.sleep(1)  # past start-up
    n0, t0 = b.evaluate("[globeStats.frames, performance.now()]")
    time.sleep(seconds)
    n1, t1 = b.evaluate("[globeStats.frames, performance.now()]")
    return (n1 - n0) * 1000 / (t1 - t0), b.evaluate("globeStats.build")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("web_dir", nargs="?", default=os.path.join(root, "build", "web"))
    parser.add_argument("--seconds", type=float, default=5)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        b = Chromium(work)
        try:
            for isolated in (True, False):
                httpd = web_server.serve(args.web_dir, 0, isolated)
                threading.Thread(target=httpd.serve_forever, daemon=True).start()
                for name, query in VIEWS:
                    fps, build = rate(b, f"http://127.0.0.1:{httpd.server_address[1]}/?{query}", args.seconds)
                    print(f"{build:12} {name:24} {fps:6.1f} frames/s", flush=True)
                httpd.shutdown()
        finally:
            b.close()


if __name__ == "__main__":
    main()
