"""The viewer on a web page in headless Chromium, driven through the DevTools
protocol over a pipe: the frame of a fixed moment and view, and the picture
on the page's canvas, equal `globetool render`'s, keys from the page change
it, F12 downloads numbered pictures, Escape ends the program, and a server
lacking the picture and the stars gives globetool's fallback frame. A page
served with the isolation headers runs the threaded build, one served
without them the single-threaded one, and both draw globetool's frames on
several views; then the page on a phone, by touch alone (touch_check.py).

usage: browser_check.py WEB_DIR GLOBETOOL
"""
import os
import subprocess
import sys
import tempfile
import threading

from PIL import Image

from chromium import Chromium, until

sys.path.append(os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))), "scripts"))
import web_server  # noqa: E402
import touch_check  # noqa: E402

WEB_DIR, GLOBETOOL = (os.path.abspath(arg) for arg in sys.argv[1:3])
# Both sides see the same zone, with the same short names from Intl and tzdata.
ENV = {**os.environ, "TZ": "America/New_York"}
MOMENT = {"at": "2024-03-09T15:30:00Z", "from": "30,-40,7928", "look": "centre"}
# The disc filling the frame, the home place looking south, a low oblique view over a pole.
VIEWS = [("1920x1080", {"at": "2024-03-20T12:00:00Z", "from": "30,10,1500", "look": "centre"}),
         ("800x600", {"at": "2024-06-01T06:00:00Z", "look": "south"}),
         ("640x480", {"at": "2024-12-21T00:00:00Z", "from": "85,120,300", "look": "north"})]


def main():
    with tempfile.TemporaryDirectory() as work:
        # The build as it is, and one lacking the picture and the stars, side by side on one server.
        os.symlink(WEB_DIR, os.path.join(work, "full"))
        os.mkdir(os.path.join(work, "partial"))
        for name in set(os.listdir(WEB_DIR)) - {"globe.gif", "stars.dat"}:
            os.symlink(os.path.join(WEB_DIR, name), os.path.join(work, "partial", name))
        servers = {isolated: web_server.serve(work, 0, isolated) for isolated in (True, False)}
        for httpd in servers.values():
            threading.Thread(target=httpd.serve_forever, daemon=True).start()
        b = Chromium(work, ENV)

        def show(folder, moment=MOMENT, size="640x480", isolated=False):
            """The page's frame of a fixed moment, and globetool's from the same data files."""
            query = "&".join(f"{k}={v}" for k, v in moment.items()) + f"&size={size}"
            b.call("Page.navigate", url=f"http://127.0.0.1:{servers[isolated].server_address[1]}/{folder}/?{query}")
            until(lambda: b.evaluate("typeof globeStats == 'object' && globeStats.frames > 2"), "the page drew no frames")
            b.frames_pass(5)
            native = os.path.join(work, "native.pcx")
            subprocess.run([GLOBETOOL, "render", "--size", size, "--data", os.path.join(work, folder), "--out",
                            native, *(a for k, v in moment.items() for a in (f"--{k}", v))], check=True, env=ENV)
            with Image.open(native) as picture:
                assert b.frame().tobytes() == picture.tobytes(), f"the page's frame differs: {folder} {query}"
                assert b.canvas().tobytes() == picture.convert("RGB").tobytes(), f"the page shows another picture: {folder} {query}"
            return b.frame()

        try:
            for isolated, build in ((True, "globe-mt.js"), (False, "globe.js")):
                for size, moment in VIEWS:
                    show("full", moment, size, isolated)
                    assert b.evaluate("globeStats.build") == build, (isolated, b.evaluate("globeStats.build"))
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
            b.call("Page.navigate", url=f"http://127.0.0.1:{servers[True].server_address[1]}/full/?home=91,0")
            until(lambda: b.evaluate("typeof globeStats == 'object' && globeStats.frames > 2"), "the page drew no frames")
            assert "--home: bad value '91,0'" in b.evaluate("document.getElementById('messages').textContent")
            touch_check.run(b, f"http://127.0.0.1:{servers[True].server_address[1]}/full/", os.path.join(work, "downloads"))
        finally:
            b.close()
            for httpd in servers.values():
                httpd.shutdown()
    print("web check passed")


if __name__ == "__main__":
    main()
