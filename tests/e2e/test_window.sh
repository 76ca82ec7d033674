#!/usr/bin/env bash
# The real viewer in a virtual X server: F12 saves a picture of the globe that
# another reader decodes, Escape ends it with code 0, a second run never overwrites
# the first picture, and a start without a display fails with code 1.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

if [ "${1:-}" != "inside" ]; then
  # No display at all: the window cannot be made.
  code=0
  env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 "$GLOBE" --window 2>err.txt || code=$?
  [ "$code" -eq 1 ] || { echo "expected exit 1 without a display, got $code"; cat err.txt; exit 1; }
  grep -q . err.txt || { echo "no message without a display"; exit 1; }
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" inside
fi

source "$here/window_lib.sh"

run_once() {
  "$GLOBE" --window /320x200 &
  local pid=$!
  wait_for_window >/dev/null
  tap F12
  wait_for_file "$1"
  tap Escape
  wait_exit "$pid"
}

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
echo "window test passed"
