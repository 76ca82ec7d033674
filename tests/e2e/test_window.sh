#!/usr/bin/env bash
# The real viewer in a virtual X server: F12 saves a picture of the globe that
# another reader decodes, Escape ends it with code 0, a second run never overwrites
# the first picture, the mouse turns the view, holding 0 and pressing backslash
# jumps the clock, and a start without a display fails with code 1.
set -euo pipefail
source "$(dirname "$0")/window_lib.sh"

if [ "${INSIDE_XVFB:-}" != 1 ]; then
  # No display at all: the window cannot be made.
  code=0
  message="$(env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 "$GLOBE" --window 2>&1 >/dev/null)" || code=$?
  [ "$code" -eq 1 ] || { echo "expected exit 1 without a display, got $code: $message"; exit 1; }
  [ -n "$message" ] || { echo "no message without a display"; exit 1; }
  # Left to itself SDL would pick a driver that shows nothing: refused too.
  code=0
  message="$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 "$GLOBE" --window 2>&1 >/dev/null)" || code=$?
  [ "$code" -eq 1 ] || { echo "expected exit 1 with no display and no driver asked for, got $code: $message"; exit 1; }
  grep -q "There is no display" <<<"$message" || { echo "no reason given: $message"; exit 1; }
fi
start_in_xvfb

run_once() {
  start_viewer
  shoot "$1"
  tap Escape
  wait_exit "$pid"
}

# A frame size the display cannot take: the set-up's message with the reason.
for size in /0x0 /-5x10; do
  code=0
  message="$(timeout 20 "$GLOBE" --window "$size" 2>&1 >/dev/null)" || code=$?
  [ "$code" -eq 1 ] || { echo "expected exit 1 for $size, got $code"; exit 1; }
  grep -q "initdirectdraw failed" <<<"$message" && grep -q "is outside 1x1 to" <<<"$message" \
    || { echo "no size reason for $size: $message"; exit 1; }
done

# SIGINT and SIGTERM in the main loop end it cleanly.
for signal in INT TERM; do
  start_viewer
  kill -"$signal" "$pid"
  code=0; wait_exit "$pid" || code=$?
  expected=$((128 + $(kill -l "$signal")))
  [ "$code" -eq "$expected" ] || { echo "expected exit $expected after SIG$signal, got $code"; exit 1; }
done

run_once GLOB0000.PCX
/usr/bin/python3 - <<'PY'
from PIL import Image
im = Image.open("GLOB0000.PCX")
assert im.size == (320, 200), im.size
assert im.mode == "P", im.mode
# The home view looks level to the south: the lower half is the Earth, drawn from the image.
ground = im.crop((0, 120, 320, 190))
assert len(ground.getcolors(256)) > 1, "the Earth is one colour"
PY
before=$(md5sum GLOB0000.PCX)
run_once GLOB0001.PCX
[ "$(md5sum GLOB0000.PCX)" = "$before" ] || { echo "GLOB0000.PCX changed"; exit 1; }

start_viewer
# Left Shift with '-' steps one minute back and stops the clock, so only the search moves it.
xdotool keydown Shift_L; tap minus; xdotool keyup Shift_L
shoot GLOB0002.PCX
for _ in $(seq 1 10); do
  xdotool mousemove_relative -- 40 15
  sleep 0.05
done
sleep 1
shoot GLOB0003.PCX
xdotool keydown 0
sleep 0.3
tap backslash
xdotool keyup 0
sleep 0.3
shoot GLOB0004.PCX
tap Escape
wait_exit "$pid"
expect_change GLOB0002.PCX GLOB0003.PCX 0 48 320 190 "the view did not turn"
expect_change GLOB0003.PCX GLOB0004.PCX 0 8 320 14 "the time did not change"
echo "window test passed"
