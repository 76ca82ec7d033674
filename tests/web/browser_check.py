"""The viewer on a web page in headless Chromium, driven through the DevTools
protocol over a pipe: the frame of a fixed moment and view equals `globetool
render`'s, keys from the page change it, and Escape ends the program.

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

    def __init__(self, profile):
        # Above 4, so that moving them to 3 and 4 in the child clobbers neither.
        to_child, self._to_child, self._from_child, from_child = (
            fcntl.fcntl(fd, fcntl.F_DUPFD, 10) for fd in (*os.pipe(), *os.pipe()))
        self.proc = subprocess.Popen(
            ["/usr/bin/chromium", "--headless=new", "--remote-debugging-pipe", "--no-sandbox", "--disable-gpu",
             "--no-first-run", "--no-proxy-server", "--lang=en-US", "--window-size=800,600", f"--user-data-dir={profile}"],
            preexec_fn=lambda: (os.dup2(to_child, 3), os.dup2(from_child, 4)), pass_fds=(3, 4), env=ENV,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_child)
        os.close(from_child)
        self._next_id, self._buffer, self.session = 0, b"", None
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
        """Waits for the page to draw count more frames, or for a few seconds if it no longer draws."""
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


def main():
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=WEB_DIR)
    handler.func.log_message = lambda *args: None
    httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=httpd.serve_forever, daemon=True).start()
    with tempfile.TemporaryDirectory() as work:
        b = Chromium(os.path.join(work, "profile"))
        try:
            b.call("Page.navigate", url=f"http://127.0.0.1:{httpd.server_address[1]}/?" +
                   "&".join(f"{k}={v}" for k, v in MOMENT.items()))
            deadline = time.monotonic() + 30
            while not b.evaluate("typeof globeStats == 'object' && globeStats.frames > 2"):
                assert time.monotonic() < deadline, "the page drew no frames"
                time.sleep(0.05)
            b.frames_pass(5)
            shown, native = b.frame(), os.path.join(work, "native.pcx")
            subprocess.run([GLOBETOOL, "render", "--size", "640x480", "--data", WEB_DIR, "--out", native,
                            *(a for k, v in MOMENT.items() for a in (f"--{k}", v))], check=True, env=ENV)
            assert shown.tobytes() == Image.open(native).tobytes(), "the page's frame differs from globetool's"
            disc, date_rows = (280, 200, 360, 280), (0, 0, 640, 6)
            assert len(set(shown.crop(disc).getdata())) > 10, "no textured globe"
            b.key("KeyH", "h", 72)
            hidden = b.frame()
            assert len(set(hidden.crop(disc).getdata())) == 1, "H did not hide the Earth"
            b.key("BracketLeft", "[", 219)
            assert b.frame().crop(date_rows).tobytes() != hidden.crop(date_rows).tobytes(), "[ left the date"
            b.key("Escape", "Escape", 27)
            assert b.evaluate("globeStats.ended") == 0
            assert "The program has ended" in b.evaluate("document.getElementById('messages').textContent")
        finally:
            b.proc.kill()
            b.proc.wait()
            httpd.shutdown()
    print("web check passed")


if __name__ == "__main__":
    main()
