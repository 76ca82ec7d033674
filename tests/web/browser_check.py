"""The viewer on a web page in headless Chromium, driven through the DevTools
protocol over a pipe: the frame of a fixed moment and view equals `globetool
render`'s, keys from the page change it, F12 downloads numbered pictures,
Escape ends the program, and a server lacking the picture and the stars gives
globetool's fallback frame.

usage: browser_check.py WEB_DIR GLOBETOOL
"""
import base64
import fcntl
import functools
import http.server
import json
import os
import subprocess
import sys
import tempfile
import threading
import time

from PIL import Image

WEB_DIR, GLOBETOOL = (os.path.abspath(arg) for arg in sys.argv[1:3])
# Both sides see the same zone, with the same short names from Intl and tzdata.
ENV = {**os.environ, "TZ": "America/New_York"}
MOMENT = {"at": "2024-03-09T15:30:00Z", "from": "30,-40,7928", "look": "centre"}


class Chromium:
    """A headless browser speaking the DevTools protocol over fds 3 and 4, with one page."""

    def __init__(self, work):
        # Above 4, so that moving them to 3 and 4 in the child clobbers neither.
        to_child, self._to_child, self._from_child, from_child = (
            fcntl.fcntl(fd, fcntl.F_DUPFD, 10) for fd in (*os.pipe(), *os.pipe()))
        self.proc = subprocess.Popen(
            ["/usr/bin/chromium", "--headless=new", "--remote-debugging-pipe", "--no-sandbox", "--disable-gpu",
             "--no-first-run", "--no-proxy-server", "--lang=en-US", "--window-size=800,600", f"--user-data-dir={work}/profile"],
            preexec_fn=lambda: (os.dup2(to_child, 3), os.dup2(from_child, 4)), pass_fds=(3, 4), env=ENV,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_child)
        os.close(from_child)
        self._next_id, self._buffer, self.session = 0, b"", None
        self.call("Browser.setDownloadBehavior", behavior="allow", downloadPath=f"{work}/downloads")
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]

    def call(self, method, **params):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params, **({"sessionId": self.session} if self.session else {})}
        os.write(self._to_child, json.dumps(message).encode() + b"\0")
        while True:
            while b"\0" not in self._buffer:
                chunk = os.read(self._from_child, 1 << 16)
                assert chunk, "the browser went away"
                self._buffer += chunk
            reply, self._buffer = self._buffer.split(b"\0", 1)
            reply = json.loads(reply)
            if reply.get("id") == self._next_id:
                assert "error" not in reply and "exceptionDetails" not in reply["result"], (method, params, reply)
                return reply["result"]

    def evaluate(self, expression):
        return self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)["result"].get("value")

    def frames_pass(self, count):
        # Or a few seconds, once the page no longer draws.
        self.evaluate(f"new Promise((done) => {{ const n = globeStats.frames; setTimeout(done, 5000);"
                      f" const check = () => globeStats.frames >= n + {count} ? done() : requestAnimationFrame(check);"
                      f" check(); }})")

    def key(self, code, key, virtual_key):
        """Presses and releases a key, holding it a few frames as a person would."""
        for kind in ("rawKeyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", type=kind, code=code, key=key, windowsVirtualKeyCode=virtual_key)
            self.frames_pass(3)

    def frame(self):
        f = self.evaluate("globeFrame()")
        return Image.frombytes("P", (f["width"], f["height"]), base64.b64decode(f["data"]))


def until(condition, what, seconds=30):
    deadline = time.monotonic() + seconds
    while not condition():
        assert time.monotonic() < deadline, what
        time.sleep(0.05)


def main():
    with tempfile.TemporaryDirectory() as work:
        # The build as it is, and one lacking the picture and the stars, side by side on one server.
        os.symlink(WEB_DIR, os.path.join(work, "full"))
        os.mkdir(os.path.join(work, "partial"))
        for name in set(os.listdir(WEB_DIR)) - {"globe.gif", "stars.dat"}:
            os.symlink(os.path.join(WEB_DIR, name), os.path.join(work, "partial", name))
        httpd = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(http.server.SimpleHTTPRequestHandler, directory=work))
        httpd.RequestHandlerClass.func.log_message = lambda *args: None
        threading.Thread(target=httpd.serve_forever, daemon=True).start()
        b = Chromium(work)

        def show(folder):
            """The page's frame of the fixed moment, and globetool's from the same data files."""
            b.call("Page.navigate", url=f"http://127.0.0.1:{httpd.server_address[1]}/{folder}/?" +
                   "&".join(f"{k}={v}" for k, v in MOMENT.items()))
            until(lambda: b.evaluate("typeof globeStats == 'object' && globeStats.frames > 2"), "the page drew no frames")
            b.frames_pass(5)
            native = os.path.join(work, "native.pcx")
            subprocess.run([GLOBETOOL, "render", "--size", "640x480", "--data", os.path.join(work, folder), "--out",
                            native, *(a for k, v in MOMENT.items() for a in (f"--{k}", v))], check=True, env=ENV)
            assert b.frame().tobytes() == Image.open(native).tobytes(), f"the page's frame differs from globetool's: {folder}"
            return b.frame()

        try:
            show("partial")
            assert "Can't load stars.dat" in b.evaluate("document.getElementById('messages').textContent")
            shown, disc, date_rows = show("full"), (280, 200, 360, 280), (0, 0, 640, 6)
            assert len(set(shown.crop(disc).getdata())) > 10, "no textured globe"
            b.key("KeyH", "h", 72)
            hidden = b.frame()
            assert len(set(hidden.crop(disc).getdata())) == 1, "H did not hide the Earth"
            b.key("BracketLeft", "[", 219)
            assert b.frame().crop(date_rows).tobytes() != hidden.crop(date_rows).tobytes(), "[ left the date"
            for name in ("GLOB0000.PCX", "GLOB0001.PCX"):
                b.key("F12", "F12", 123)
                path = os.path.join(work, "downloads", name)
                until(lambda: os.path.exists(path), f"no {name} downloaded", 10)
                with Image.open(path) as shot:
                    assert (shot.format, shot.mode, shot.size) == ("PCX", "P", (640, 480)), name
            b.key("Escape", "Escape", 27)
            assert b.evaluate("globeStats.ended") == 0
            assert "The program has ended" in b.evaluate("document.getElementById('messages').textContent")
            # A bad home place is reported on the page, and the viewer runs on from the built-in one.
            b.call("Page.navigate", url=f"http://127.0.0.1:{httpd.server_address[1]}/full/?home=91,0")
            until(lambda: b.evaluate("typeof globeStats == 'object' && globeStats.frames > 2"), "the page drew no frames")
            assert "--home: bad value '91,0'" in b.evaluate("document.getElementById('messages').textContent")
        finally:
            b.proc.kill()
            b.proc.wait()
            httpd.shutdown()
    print("web check passed")


if __name__ == "__main__":
    main()
