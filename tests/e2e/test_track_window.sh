#!/usr/bin/env bash
# The real viewer in a virtual X server: holding 0 and pressing backslash jumps
# the clock, which the time line of the status shows.
set -euo pipefail
source "$(dirname "$0")/window_lib.sh"
start_in_xvfb

"$GLOBE" --window /320x200 &
pid=$!
wait_for_window >/dev/null
# Left Shift with '-' steps one minute back and stops the clock, so only the search moves it.
xdotool keydown Shift_L; tap minus; xdotool keyup Shift_L
tap F12
wait_for_file GLOB0000.PCX
xdotool keydown 0
sleep 0.3
tap backslash
xdotool keyup 0
sleep 0.3
tap F12
wait_for_file GLOB0001.PCX
tap Escape
wait_exit "$pid"

/usr/bin/python3 - <<'PY'
from PIL import Image, ImageChops
a = Image.open("GLOB0000.PCX").convert("RGB")
b = Image.open("GLOB0001.PCX").convert("RGB")
time_row = (0, 8, 320, 14)
assert ImageChops.difference(a.crop(time_row), b.crop(time_row)).getbbox() is not None, "the time did not change"
PY
echo "tracking window test passed"
