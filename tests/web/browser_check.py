"""The viewer on a web page, in headless Chromium driven through the DevTools
protocol (over a pipe, so the standard library suffices): the textured globe
on the canvas, keys from the page, the frame of a fixed moment and view equal
to `globetool render`'s, screenshots as downloads, a server lacking data files,
and Escape. Prints the start-up time and frame rate it sees; asserts neither.

usage: browser_check.py WEB_DIR GLOBETOOL
"""
import base64
import fcntl
import functools
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from PIL import Image

WEB_DIR, GLOBETOOL = (os.path.abspath(arg) for arg in sys.argv[1:3])
DATA_FILES = ("globe.gif", "SHOREX.DAT", "BORDX.DAT", "stars.dat")
# Both sides see the same zone, with the same short names from Intl and tzdata.
ZONE = "America/New_York"
MOMENT = {"at": "2024-03-09T15:30:00Z", "from": "30,-40,7928", "look": "centre"}


class Chromium:
    """A headless browser speaking the DevTools protocol over fds 3 and 4."""

    def __init__(self, profile):
        to_child, self._to_child = self._high_pipe()
        self._from_child, from_child = self._high_pipe()

        def plumb():
            os.dup2(to_child, 3)
            os.dup2(from_child, 4)

        self.proc = subprocess.Popen(
            ["/usr/bin/chromium", "--headless=new", "--remote-debugging-pipe", "--no-sandbox", "--disable-gpu",
             "--no-first-run", "--no-proxy-server", "--lang=en-US", "--window-size=800,600", f"--user-data-dir={profile}", "about:blank"],
            preexec_fn=plumb, pass_fds=(3, 4), env={**os.environ, "TZ": ZONE},
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_child)
        os.close(from_child)
        self._next_id = 0
        self._buffer = b""
        self.events = []
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]

    @staticmethod
    def _high_pipe():
        # Above 4, so that moving them to 3 and 4 in the child clobbers neither.
        return [fcntl.fcntl(fd, fcntl.F_DUPFD, 10) for fd in os.pipe()]

    def call(self, method, session=None, **params):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self._to_child, json.dumps(message).encode() + b"\0")
        while True:
            reply = self._read()
            if reply.get("id") == self._next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply["result"]
            self.events.append(reply)

    def _read(self):
        while b"\0" not in self._buffer:
            chunk = os.read(self._from_child, 1 << 16)
            if not chunk:
                raise RuntimeError("the browser went away")
            self._buffer += chunk
        message, self._buffer = self._buffer.split(b"\0", 1)
        return json.loads(message)

    def page(self, method, **params):
        return self.call(method, session=self.session, **params)

    def evaluate(self, expression):
        result = self.page("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def wait_for(self, expression, seconds=30):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if self.evaluate(expression):
                return
            time.sleep(0.05)
        state = self.evaluate("JSON.stringify([location.href, document.visibilityState, window.globeStats])")
        raise AssertionError(f"timed out waiting for {expression}: {state}")

    def frames_pass(self, count=5):
        """Waits for the page to draw count more frames, or for a few seconds if it no longer draws."""
        self.evaluate(f"new Promise((done) => {{ const n = globeStats.frames; setTimeout(done, 5000);"
                      f" const check = () => globeStats.frames >= n + {count} ? done() : requestAnimationFrame(check);"
                      f" check(); }})")

    def key(self, code, key, virtual_key):
        """Presses and releases a key, holding it a few frames as a person would."""
        common = {"code": code, "key": key, "windowsVirtualKeyCode": virtual_key}
        self.page("Input.dispatchKeyEvent", type="rawKeyDown", **common)
        self.frames_pass(3)
        self.page("Input.dispatchKeyEvent", type="keyUp", **common)
        self.frames_pass(3)

    def frame(self):
        f = self.evaluate("globeFrame()")
        return Image.frombytes("P", (f["width"], f["height"]), base64.b64decode(f["data"]))

    def close(self):
        self.proc.kill()
        self.proc.wait()


class Server:
    """A static server on 127.0.0.1 for one folder, on a free port."""

    def __init__(self, folder):
        handler = functools.partial(QuietHandler, directory=folder)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = f"http://127.0.0.1:{self.httpd.server_address[1]}/"
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def native_frame(work, data_dir):
    out = os.path.join(work, "native.pcx")
    subprocess.run([GLOBETOOL, "render", "--size", "640x480", "--data", data_dir, "--out", out,
                    *(arg for name, value in MOMENT.items() for arg in (f"--{name}", value))],
                   check=True, cwd=work, env={**os.environ, "TZ": ZONE}, stdout=subprocess.DEVNULL)
    image = Image.open(out)
    image.load()
    return image


def differing(a, b):
    return sum(1 for p, q in zip(a.getdata(), b.getdata()) if p != q)


def fixed_url(base):
    return base + "?" + "&".join(f"{name}={value}" for name, value in MOMENT.items())


class WebViewer(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp()
        cls.browser = Chromium(os.path.join(cls.work, "profile"))
        cls.server = Server(WEB_DIR)

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        cls.server.close()
        shutil.rmtree(cls.work)

    def open(self, url):
        self.browser.page("Page.navigate", url=url)
        self.browser.wait_for(f"location.href == {json.dumps(url)} && typeof globeStats == 'object' && globeStats.frames > 2")

    def test_textured_globe_keys_and_the_fixed_frame(self):
        b = self.browser
        self.open(fixed_url(self.server.url))
        b.frames_pass()
        # What the canvas shows: many colours on the disc, black sky beside it.
        shown = b.evaluate("""(() => {
            const c = document.getElementById('canvas');
            const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
            const at = (x, y) => { const i = 4 * (y * c.width + x); return (d[i] << 16) | (d[i + 1] << 8) | d[i + 2]; };
            const disc = new Set();
            for (let y = 200; y < 280; y += 2) for (let x = 280; x < 360; x += 2) disc.add(at(x, y));
            return {disc: disc.size, sky: [at(5, 240), at(634, 240), at(320, 470)]};
        })()""")
        self.assertGreater(shown["disc"], 10)
        self.assertEqual(shown["sky"], [0, 0, 0])

        before = b.frame()
        native = native_frame(self.work, WEB_DIR)
        self.assertEqual(differing(before, native), 0)

        b.key("KeyH", "h", 72)
        hidden = b.frame()
        self.assertEqual(len(set(hidden.crop((280, 200, 360, 280)).getdata())), 1)
        self.assertGreater(differing(before, hidden), 1000)
        b.key("BracketLeft", "[", 219)
        date_rows = (0, 0, 640, 6)
        self.assertNotEqual(list(b.frame().crop(date_rows).getdata()), list(hidden.crop(date_rows).getdata()))

    def test_screenshots_download_as_numbered_pictures(self):
        b = self.browser
        downloads = os.path.join(self.work, "downloads")
        b.call("Browser.setDownloadBehavior", behavior="allow", downloadPath=downloads)
        self.open(self.server.url)
        for name in ("GLOB0000.PCX", "GLOB0001.PCX"):
            b.key("F12", "F12", 123)
            path = os.path.join(downloads, name)
            deadline = time.monotonic() + 10
            while not os.path.exists(path) and time.monotonic() < deadline:
                time.sleep(0.05)
            with Image.open(path) as shot:
                self.assertEqual((shot.format, shot.mode, shot.size), ("PCX", "P", (640, 480)))

    def test_missing_data_files_fall_back_as_on_linux(self):
        # Without the picture the globe is filled; without the stars the sky has none, and says so.
        partial = os.path.join(self.work, "partial")
        os.makedirs(partial)
        for name in os.listdir(WEB_DIR):
            if name not in ("globe.gif", "stars.dat"):
                os.symlink(os.path.join(WEB_DIR, name), os.path.join(partial, name))
        server = Server(partial)
        try:
            self.open(fixed_url(server.url))
            self.browser.frames_pass()
            self.assertIn("Can't load stars.dat", self.browser.evaluate("document.getElementById('messages').textContent"))
            self.assertEqual(differing(self.browser.frame(), native_frame(self.work, partial)), 0)
        finally:
            server.close()

    def test_escape_ends_the_program(self):
        self.open(self.server.url)
        self.browser.key("Escape", "Escape", 27)
        self.assertEqual(self.browser.evaluate("globeStats.ended"), 0)
        self.assertIn("The program has ended", self.browser.evaluate("document.getElementById('messages').textContent"))

    def test_zz_report_start_up_and_frame_rate(self):
        b = self.browser
        self.open(fixed_url(self.server.url))
        start_ms = b.evaluate("globeStats.firstFrameMs")
        rate = b.evaluate("""new Promise((done) => {
            const n = globeStats.frames, t = performance.now();
            setTimeout(() => done((globeStats.frames - n) * 1000 / (performance.now() - t)), 3000);
        })""")
        print(f"\nweb: first frame {start_ms:.0f} ms after navigation; {rate:.1f} frames/s at 640x480", file=sys.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
