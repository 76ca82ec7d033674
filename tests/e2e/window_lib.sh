# Helpers for driving the real viewer in a virtual X server (sourced by the tests).
set -euo pipefail

# The viewer under a sanitizer may be slow to start; its X libraries leak by design.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
export SDL_AUDIODRIVER=dummy

# Runs the calling script again inside a virtual X server, then moves it into
# a fresh working folder that goes away with it.
start_in_xvfb() {
  if [ "${INSIDE_XVFB:-}" != 1 ]; then
    INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0"
  fi
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  cd "$work"
}

wait_for_window() {
  local wid=""
  # The newest window, and only once it takes the focus: the window of a
  # viewer that just ended may still be listed for a moment.
  for _ in $(seq 1 200); do
    wid=$(xdotool search --name "Tessaly's program" 2>/dev/null | tail -1 || true)
    [ -n "$wid" ] && xdotool windowfocus "$wid" 2>/dev/null && break
    wid=""
    sleep 0.1
  done
  [ -n "$wid" ] || { echo "no window appeared" >&2; return 1; }
  sleep 1
  echo "$wid"
}

# A quick tap, pressed and released between two frames: the viewer still
# sees it down for one frame.
tap() {
  xdotool key "$1"
  sleep 0.3
}

wait_for_file() {
  for _ in $(seq 1 100); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  echo "missing $1" >&2
  return 1
}

# Waits for the viewer to end and returns its exit code.
wait_exit() {
  local pid="$1" code=0
  for _ in $(seq 1 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    echo "viewer did not stop" >&2
    return 1
  fi
  wait "$pid" || code=$?
  return "$code"
}

# Starts the viewer in a small window and waits until it has the keyboard; sets pid.
start_viewer() {
  "$GLOBE" --window /320x200 &
  pid=$!
  wait_for_window >/dev/null
}

# F12, and waits for the picture.
shoot() {
  tap F12
  wait_for_file "$1"
}

# Fails with the message unless two pictures differ inside the box LEFT TOP RIGHT BOTTOM.
expect_change() {
  /usr/bin/python3 - "$@" <<'PY'
import sys
from PIL import Image, ImageChops
a, b, left, top, right, bottom, message = sys.argv[1:]
box = tuple(int(v) for v in (left, top, right, bottom))
crops = [Image.open(name).convert("RGB").crop(box) for name in (a, b)]
assert ImageChops.difference(*crops).getbbox() is not None, message
PY
}
