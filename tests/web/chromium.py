"""A headless Chromium driven through the DevTools protocol over a pipe, with
one page: for the web page's check and its benchmark."""
import base64
import fcntl
import json
import os
import subprocess
import time

from PIL import Image


class Chromium:
    """A headless browser speaking the DevTools protocol over fds 3 and 4, with one page."""

    def __init__(self, work, env=None):
        # Above 4, so that moving them to 3 and 4 in the child clobbers neither.
        to_child, self._to_child, self._from_child, from_child = (
            fcntl.fcntl(fd, fcntl.F_DUPFD, 10) for fd in (*os.pipe(), *os.pipe()))
        self.proc = subprocess.Popen(
            ["/usr/bin/chromium", "--headless=new", "--remote-debugging-pipe", "--no-sandbox", "--disable-gpu",
             "--no-first-run", "--no-proxy-server", "--lang=en-US", "--window-size=800,600", f"--user-data-dir={work}/profile"],
            preexec_fn=lambda: (os.dup2(to_child, 3), os.dup2(from_child, 4)), pass_fds=(3, 4), env=env,
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

    def close(self):
        """Ends the browser and every process of its own, so that its profile folder can go."""
        self.session = None  # a browser's command, not the page's
        try:
            self.call("Browser.close")
            self.proc.wait(timeout=20)
        except (AssertionError, OSError, subprocess.TimeoutExpired):
            self.proc.kill()
            self.proc.wait()

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

    def canvas(self):
        """The picture on the page's canvas, as the visitor sees it."""
        f = self.evaluate("(() => { const c = document.querySelector('#canvas');"
                          " const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data; let text = '';"
                          " for (let i = 0; i < d.length; i += 0x8000) text += String.fromCharCode.apply(null, d.subarray(i, i + 0x8000));"
                          " return {width: c.width, height: c.height, data: btoa(text)}; })()")
        return Image.frombytes("RGBA", (f["width"], f["height"]), base64.b64decode(f["data"])).convert("RGB")


def until(condition, what, seconds=30):
    deadline = time.monotonic() + seconds
    while not condition():
        assert time.monotonic() < deadline, what
        time.sleep(0.05)
