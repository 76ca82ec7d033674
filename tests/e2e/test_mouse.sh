#!/usr/bin/env bash
# The real viewer in a virtual X server: moving the mouse turns the view.
set -euo pipefail
source "$(dirname "$0")/window_lib.sh"
start_in_xvfb

start_viewer
shoot GLOB0000.PCX
for _ in $(seq 1 10); do
  xdotool mousemove_relative -- 40 15
  sleep 0.05
done
sleep 1
shoot GLOB0001.PCX
tap Escape
wait_exit "$pid"

# Below the status lines, so that the running clock does not count.
expect_change GLOB0000.PCX GLOB0001.PCX 0 48 320 190 "the view did not turn"
echo "mouse test passed"
