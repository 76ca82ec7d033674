#!/usr/bin/env bash
# The real viewer in a virtual X server: holding 0 and pressing backslash jumps
# the clock, which the time line of the status shows.
set -euo pipefail
source "$(dirname "$0")/window_lib.sh"
start_in_xvfb

start_viewer
# Left Shift with '-' steps one minute back and stops the clock, so only the search moves it.
xdotool keydown Shift_L; tap minus; xdotool keyup Shift_L
shoot GLOB0000.PCX
xdotool keydown 0
sleep 0.3
tap backslash
xdotool keyup 0
sleep 0.3
shoot GLOB0001.PCX
tap Escape
wait_exit "$pid"

expect_change GLOB0000.PCX GLOB0001.PCX 0 8 320 14 "the time did not change"
echo "tracking window test passed"
