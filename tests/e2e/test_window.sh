#!/usr/bin/env bash
# The real viewer in a virtual X server, one session: F12 tapped between two
# frames saves a picture another reader decodes, the mouse turns the view, and
# Escape ends it with code 0; a viewer stopped for seconds still sees the
# ground when it goes on. Starts without a display or with a size the display
# cannot take fail with code 1 and the reason, a bad home place with code 2
# before any window; signals end it cleanly.
set -euo pipefail
# The viewer under a sanitizer may be slow to start; its X libraries leak by design.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" SDL_AUDIODRIVER=dummy
fail() { echo "$*"; exit 1; }

# Runs the viewer with the arguments, expecting exit code 1 and the text in its messages.
refused() {
  local text="$1" code=0 message
  shift
  message="$(timeout 20 "$@" 2>&1 >/dev/null)" || code=$?
  [ "$code" -eq 1 ] && grep -q "$text" <<<"$message" || fail "expected exit 1 and '$text' from $*, got $code: $message"
}

if [ "${INSIDE_XVFB:-}" != 1 ]; then
  for home in 91,0 0,-180.5 nan,0 1 1,2,3 1,2x ""; do
    code=0
    message="$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$GLOBE" --window --home "$home" 2>&1)" || code=$?
    [ "$code" -eq 2 ] && grep -qF "globe: --home: bad value '$home' (want LAT,LON: LAT -90 to 90 and LON -180 to 180 degrees)" <<<"$message" ||
      fail "expected exit 2 and the accepted form for --home '$home', got $code: $message"
  done
  "$GLOBE" --help | grep -q "F1" || fail "--help does not mention F1"
  "$GLOBE" --help | grep -q -- "--home LAT,LON" || fail "--help does not mention --home"
  # Left to itself SDL would pick a driver that shows nothing: refused.
  refused "There is no display" env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$GLOBE" --window
  INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0"
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

refused "is outside 1x1 to" "$GLOBE" --window /0x0

# Starts the viewer in a small window and waits until it has the keyboard; sets pid.
start_viewer() {
  "$GLOBE" --window /320x200 &
  pid=$!
  # Only once it takes the focus: the window of a viewer that just ended may still be listed.
  for _ in $(seq 1 200); do
    wid=$(xdotool search --name "Tessaly's program" 2>/dev/null | tail -1 || true)
    [ -n "$wid" ] && xdotool windowfocus "$wid" 2>/dev/null && sleep 1 && return
    sleep 0.1
  done
  fail "no window appeared"
}
# Waits for the viewer to end and returns its exit code.
wait_exit() { timeout 15 tail --pid="$pid" -f /dev/null || { kill "$pid"; fail "viewer did not stop"; }; wait "$pid"; }
# A quick tap, pressed and released between two frames: the viewer still sees it down for one frame.
tap() { xdotool key "$1"; sleep 0.3; }
shoot() {
  tap F12
  for _ in $(seq 1 100); do [ -s "$1" ] && return; sleep 0.1; done
  fail "missing $1"
}

start_viewer
kill -TERM "$pid"
code=0; wait_exit || code=$?
[ "$code" -eq $((128 + 15)) ] || fail "expected exit 143 after SIGTERM, got $code"

start_viewer
shoot GLOB0000.PCX
for _ in $(seq 1 10); do xdotool mousemove_relative -- 40 15; sleep 0.05; done
sleep 1
shoot GLOB0001.PCX
tap Escape
wait_exit || fail "exit $? after Escape"
/usr/bin/python3 - <<'PY'
from PIL import Image, ImageChops
shots = [Image.open(f"GLOB000{k}.PCX") for k in range(2)]
assert (shots[0].size, shots[0].mode) == ((320, 200), "P"), (shots[0].size, shots[0].mode)
# The home view looks level to the south: the lower half is the Earth, drawn from the image.
assert len(shots[0].crop((0, 120, 320, 190)).getcolors(256)) > 1, "the Earth is one colour"
box = (0, 48, 320, 190)
assert ImageChops.difference(*(s.convert("RGB").crop(box) for s in shots)).getbbox(), "the view did not turn"
PY

# Stopped for seconds, as a suspended machine stops it, then going on: one
# long frame must not throw the eye through the Earth.
start_viewer
sleep 1
kill -STOP "$pid"
sleep 5
kill -CONT "$pid"
sleep 1
shoot GLOB0002.PCX
tap Escape
wait_exit || fail "exit $? after Escape"
/usr/bin/python3 - <<'PY'
from PIL import Image
shot = Image.open("GLOB0002.PCX")
# Still at home looking level south: the lower half is the Earth.
assert len(shot.crop((0, 120, 320, 190)).getcolors(256)) > 1, "the ground is gone after a stop"
PY
echo "window test passed"
