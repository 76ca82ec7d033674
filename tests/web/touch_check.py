"""The page on a phone, by touch alone (used by browser_check.py): the frame
follows the page and keeps the view through a turn of the phone, a finger
dragged takes the ground along, two fingers spread, pinch and twist the view,
and every on-screen button does what its key does, through the same key
events."""
import datetime
import math
import os
import time

from PIL import Image

from chromium import until

PHONE = {"width": 390, "height": 844, "deviceScaleFactor": 3, "mobile": True}
# Five device pixels a frame pixel on this phone, so the status lines stay readable.
PHONE_FRAME = (234, 506)
FAR_OUT = "at=2024-03-09T15:30:00Z&from=30,-40,7928&look=centre"

# Each button and the key (its KeyboardEvent.code) it stands for.
KEYS = {
    "Time back": "Minus", "Time forward": "Equal", "Date back": "BracketLeft", "Date forward": "BracketRight",
    "Zoom in": "NumpadMultiply", "Zoom out": "NumpadDivide", "Home": "Slash", "Look at the Earth": "KeyC",
    "Look down": "KeyD", "Stop": "Space", "Orbit": "KeyG", "Rise, transit or set": "Backslash", "Screenshot": "F12",
    "Help": "F1", "Earth": "KeyH", "Borders": "KeyB", "Names": "Backquote", "Day and night": "KeyI", "Sky": "KeyK",
    "Mercury": "Digit1", "Venus": "Digit2", "Moon": "Digit3", "Mars": "Digit4", "Jupiter": "Digit5",
    "Saturn": "Digit6", "Uranus": "Digit7", "Neptune": "Digit8", "Pluto": "Digit9", "Sun": "Digit0",
}
BODIES = ["Mercury", "Venus", "Moon", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto", "Sun"]
TOGGLES = {"Earth": "show_earth", "Borders": "show_borders", "Names": "show_labels", "Day and night": "night",
           "Sky": "sky"}


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def unit(a):
    n = math.sqrt(dot(a, a))
    return [x / n for x in a]


def near(a, b, tolerance):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def ray(s, x, y):
    """The point that pixel (x, y) looks at, zoom / 2 along the line of sight."""
    xh, yh = s["xres"] * 0.5, s["yres"] * 0.5
    return [p + r * (x - xh) + d * (y - yh) + f * s["zoom"] * 0.5
            for p, r, d, f in zip(s["viewpos"], s["viewright"], s["viewdown"], s["viewfwd"])]


def screen(s, point):
    rel = [p - e for p, e in zip(point, s["viewpos"])]
    depth = dot(rel, s["viewfwd"])
    return (s["xres"] * 0.5 + s["zoom"] * 0.5 * dot(rel, s["viewright"]) / depth,
            s["yres"] * 0.5 + s["zoom"] * 0.5 * dot(rel, s["viewdown"]) / depth)


def clock(s):
    return datetime.datetime.fromisoformat(s["clock"])


class Phone:
    def __init__(self, browser):
        self.b = browser
        self.b.evaluate("window.keysSeen = []; for (const t of ['keydown', 'keyup'])"
                        " addEventListener(t, (e) => keysSeen.push(t + ' ' + e.code), true)")

    def state(self):
        return self.b.evaluate("globeState()")

    def touch(self, kind, *points, frames=1):
        self.b.call("Input.dispatchTouchEvent", type=kind,
                    touchPoints=[{"x": x, "y": y, "id": i} for i, (x, y) in enumerate(points)])
        self.b.frames_pass(frames)

    def gesture(self, steps):
        """Fingers put down at the first positions, moved through the rest, lifted."""
        self.touch("touchStart", *steps[0])
        for points in steps[1:]:
            self.touch("touchMove", *points)

    def button(self, name):
        return self.b.evaluate(f"(() => {{ const r = document.querySelector('button[aria-label=\"{name}\"]')"
                               f".getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; }})()")

    def pressed(self, name):
        return self.b.evaluate(f"document.querySelector('button[aria-label=\"{name}\"]').getAttribute('aria-pressed')")

    def tap(self, name, hold_frames=0, keys=None):
        """Taps a button (or holds it so many frames): the key events it sends must be its key's alone."""
        self.b.evaluate("keysSeen.length = 0")
        at = self.button(name)
        self.touch("touchStart", at, frames=max(hold_frames, 1))
        self.touch("touchEnd", frames=3)
        expected = keys if keys is not None else [f"keydown {KEYS[name]}", f"keyup {KEYS[name]}"]
        assert self.b.evaluate("keysSeen") == expected, (name, self.b.evaluate("keysSeen"))
        return self.state()

    def key(self, code):
        self.b.key(code, "", 0)
        return self.state()

    def settle(self, frames=60):
        """Until the mouse's smoothing has run out."""
        self.b.frames_pass(frames)
        return self.state()


def frame_and_controls(p):
    s = p.state()
    assert (s["xres"], s["yres"]) == PHONE_FRAME, ("the frame does not follow the page", s["xres"], s["yres"])
    assert p.b.evaluate("getComputedStyle(document.getElementById('canvas')).touchAction") == "none"
    if not p.b.evaluate("document.getElementById('controls').open"):
        p.touch("touchStart", p.b.evaluate("(() => { const r = document.querySelector('#controls summary')"
                                          ".getBoundingClientRect(); return [r.x + 20, r.y + 20]; })()"))
        p.touch("touchEnd")
    # Big enough for a finger, and clear of the status lines: five at the top, the speed line at the bottom.
    boxes = p.b.evaluate("[...document.querySelectorAll('#controls button')].map((b) => { const r = b.getBoundingClientRect();"
                         " return [b.getAttribute('aria-label'), r.top, r.bottom, r.width, r.height]; })")
    assert sorted(name for name, *_ in boxes) == sorted(KEYS), "the buttons are not the named ones"
    scale = PHONE["width"] / PHONE_FRAME[0]
    frame_top = (PHONE["height"] - PHONE_FRAME[1] * scale) / 2
    for name, top, bottom, width, height in boxes:
        assert width >= 44 and height >= 44, (name, width, height)
        assert frame_top + 38 * scale <= top and bottom <= frame_top + (PHONE_FRAME[1] - 6) * scale, (name, top, bottom)


def drag_turns(p):
    """A finger dragged from the middle of the page takes what was under it along (the levelling
    of the view, A, off for this and the twist: near the Earth it would roll the picture)."""
    p.key("KeyA")
    before = p.state()
    start, end = (195, 422), (255, 392)
    scale = PHONE_FRAME[0] / PHONE["width"]
    under = ray(before, start[0] * scale, start[1] * scale)
    p.gesture([[(start[0] + (end[0] - start[0]) * k / 6, start[1] + (end[1] - start[1]) * k / 6)] for k in range(7)])
    p.touch("touchEnd")
    x, y = screen(p.settle(), under)
    assert abs(x - end[0] * scale) < 1.5 and abs(y - end[1] * scale) < 1.5, ("the ground did not follow the finger", x, y)


def spread_and_pinch(p):
    """Two fingers magnify by the ratio of their distances and stop at magnification 1."""
    s = p.state()
    assert s["zoom"] == s["xres"]
    p.gesture([[(195 - d, 422), (195 + d, 422)] for d in (50, 60, 80, 100)])
    s = p.state()
    assert abs(s["zoom"] / s["xres"] - 2) < 1e-9, ("a spread to twice the distance", s["zoom"] / s["xres"])
    for d in (80, 50, 20):
        p.touch("touchMove", (195 - d, 422), (195 + d, 422))
    assert p.state()["zoom"] == s["xres"], "a pinch went past magnification 1"
    p.touch("touchEnd")


def twist_rolls(p):
    """Two fingers turned a third of a right angle clockwise turn the picture with them."""
    before = p.state()
    turns = [math.radians(a) for a in (0, 10, 20, 30)]
    p.gesture([[(195 - 80 * math.cos(t), 422 - 80 * math.sin(t)), (195 + 80 * math.cos(t), 422 + 80 * math.sin(t))]
               for t in turns])
    s = p.state()
    roll = math.atan2(-dot(s["viewright"], before["viewdown"]), dot(s["viewright"], before["viewright"]))
    assert abs(roll - turns[-1]) < 0.01, ("the twist did not roll", math.degrees(roll))
    p.touch("touchEnd")
    p.key("KeyA")


def clock_and_zoom_buttons(p):
    s0 = p.state()
    s1 = p.tap("Time forward", hold_frames=20)
    run = (clock(s1) - clock(s0)).total_seconds()
    assert s1["time_manual"] and run >= 20 * 120, ("a held Time forward did not run the clock", run)
    assert clock(p.settle(10)) == clock(s1), "the clock ran on after Time forward was let go"
    s2 = p.tap("Time back", hold_frames=5)
    assert 0 < (clock(s1) - clock(s2)).total_seconds() < run
    for name, days in (("Date forward", 1), ("Date back", -1)):
        s3 = p.tap(name, hold_frames=3)
        moved = (clock(s3).date() - clock(s2).date()).days
        assert moved * days >= 3 and clock(s3).minute == clock(s2).minute, (name, s2["clock"], s3["clock"])
        s2 = s3
    zoomed = p.tap("Zoom in", hold_frames=15)
    assert zoomed["zoom"] > 1.2 * zoomed["xres"]
    assert p.tap("Zoom out", hold_frames=40)["zoom"] == zoomed["xres"], "Zoom out did not stop at magnification 1"


def view_buttons(p):
    s = p.tap("Look at the Earth")
    assert near(s["viewfwd"], [-x for x in unit(s["viewpos"])], 1e-9)
    s = p.tap("Look down")
    up = unit(s["viewpos"])
    east = unit([-s["viewpos"][2], 0, s["viewpos"][0]])
    assert near(s["viewfwd"], [-x for x in up], 1e-9) and near(s["viewright"], east, 1e-9)
    # Thrust away from the Earth in orbit, then Stop: what moves the eye is gravity alone.
    assert p.tap("Orbit")["orbit_mode"]
    for kind in ("rawKeyDown", "keyUp"):
        for code in ("ShiftRight", "ArrowDown"):
            p.b.call("Input.dispatchKeyEvent", type=kind, code=code, key="")
        p.b.frames_pass(5)
    a = p.state()
    b = p.settle(5)
    flying = math.dist(a["viewpos"], b["viewpos"])
    c = p.tap("Stop")
    still = math.dist(c["viewpos"], p.settle(5)["viewpos"])
    assert flying > 1e-3 and still < flying / 20, ("Stop did not stop the eye", flying, still)
    assert not p.tap("Orbit")["orbit_mode"]
    s = p.tap("Home")
    home = [-0.70842, -0.66472, -0.23725]
    assert near(unit(s["viewpos"]), home, 1e-5) and not s["time_manual"] and s["zoom"] == s["xres"], s


def toggles(p):
    """Each toggle undoes what its key did, and shows whether it is on."""
    for name, field in (*TOGGLES.items(), ("Help", "help")):
        was = p.state()[field]
        by_key = p.key(KEYS[name])[field]
        assert by_key != was or field in ("night", "sky"), (name, "the key changed nothing")
        assert p.tap(name)[field] == was, (name, "the button did not do what the key did")
        if name in TOGGLES:
            assert p.pressed(name) == str(was).lower(), (name, p.pressed(name))


def tracking(p, downloads):
    held = None
    for name in ("Moon", "Mars", "Mercury", "Venus", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto", "Sun"):
        keys = ([f"keyup {KEYS[held]}"] if held else []) + [f"keydown {KEYS[name]}"]
        assert p.tap(name, keys=keys)["tracking"] == name.lower()
        assert [n for n in BODIES if p.pressed(n) == "true"] == [name]
        held = name
    s = p.state()
    jumped = p.tap("Rise, transit or set")
    assert jumped["time_manual"] and jumped["clock"] != s["clock"], "no rise, transit or set"
    assert p.tap("Sun", keys=["keyup Digit0"])["tracking"] is None and p.pressed("Sun") == "false"
    # The page's first picture is GLOB0000.PCX again; the browser saves it over the earlier one.
    shot = os.path.join(downloads, "GLOB0000.PCX")
    was = os.stat(shot).st_mtime_ns if os.path.exists(shot) else None
    p.tap("Screenshot")
    until(lambda: os.path.exists(shot) and os.stat(shot).st_mtime_ns != was, "Screenshot gave no picture", 10)
    time.sleep(0.2)
    with Image.open(shot) as picture:
        assert (picture.format, picture.size) == ("PCX", PHONE_FRAME), (picture.format, picture.size)


def turning_the_phone(p):
    """The phone turned: a new frame, the same eye, view, clock and magnification."""
    p.key("Equal")
    before = p.settle(10)
    p.b.call("Emulation.setDeviceMetricsOverride", **{**PHONE, "width": PHONE["height"], "height": PHONE["width"]})
    p.b.frames_pass(10)
    s = p.state()
    assert (s["xres"], s["yres"]) == PHONE_FRAME[::-1], (s["xres"], s["yres"])
    for field in ("viewpos", "viewfwd", "viewright", "viewdown"):
        assert near(s[field], before[field], 1e-9), field
    assert s["clock"] == before["clock"] and s["zoom"] / s["xres"] == before["zoom"] / before["xres"]


def run(browser, page, downloads):
    """page: the address of the page with the data files; downloads: where the browser saves them."""
    b = browser
    b.call("Emulation.setDeviceMetricsOverride", **PHONE)
    b.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
    b.call("Page.navigate", url=f"{page}?{FAR_OUT}")
    until(lambda: b.evaluate("typeof globeState == 'function' && globeState() !== null && globeStats.frames > 2"),
          "the phone's page drew nothing")
    p = Phone(b)
    frame_and_controls(p)
    assert not p.tap("Orbit")["orbit_mode"]
    drag_turns(p)
    spread_and_pinch(p)
    twist_rolls(p)
    clock_and_zoom_buttons(p)
    toggles(p)
    tracking(p, downloads)
    view_buttons(p)
    turning_the_phone(p)
    b.call("Emulation.clearDeviceMetricsOverride")
    b.call("Emulation.setTouchEmulationEnabled", enabled=False)
