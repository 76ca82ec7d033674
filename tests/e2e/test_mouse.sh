#!/usr/bin/env bash
# The real viewer in a virtual X server: moving the mouse turns the view.
set -euo pipefail
source "$(dirname "$0")/window_lib.sh"
start_in_xvfb

"$GLOBE" --window /320x200 &
pid=$!
wait_for_window >/dev/null
tap F12
wait_for_file GLOB0000.PCX
for _ in $(seq 1 10); do
  xdotool mousemove_relative -- 40 15
  sleep 0.05
done
sleep 1
tap F12
wait_for_file GLOB0001.PCX
tap Escape
wait_exit "$pid"

/usr/bin/python3 - <<'PY'
from PIL import Image, ImageChops
a = Image.open("GLOB0000.PCX").convert("RGB")
b = Image.open("GLOB0001.PCX").convert("RGB")
# Below the status lines, so that the running clock does not count.
box = (0, 48, 320, 190)
diff = ImageChops.difference(a.crop(box), b.crop(box))
assert diff.getbbox() is not None, "the view did not turn"
PY
echo "mouse test passed"
