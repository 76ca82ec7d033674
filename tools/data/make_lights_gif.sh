#!/bin/sh
# Rebuilds data/lights.gif: NASA's Earth at Night (Black Marble) map as shipped
# among the example files of the npm package three-globe (pinned below),
# 2048 x 1024 like globe.gif, as four greys: no lights, then three strengths.
# Only the image is read from the package; npm unpacks it and runs nothing.
# Usage: tools/data/make_lights_gif.sh [OUTPUT]   (default: data/lights.gif)
set -eu
out=${1:-"$(dirname "$0")/../../data/lights.gif"}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent three-globe@2.45.2 >/dev/null &&
    tar xzf three-globe-2.45.2.tgz package/example/img/earth-night.jpg)
/usr/bin/python3 - "$work/package/example/img/earth-night.jpg" "$out" <<'PY'
import sys
from PIL import Image

src, out = sys.argv[1], sys.argv[2]
# The map's land and sea are dark blues and greys; the lights are near white,
# so the darkest channel of each pixel measures them and leaves the ground out.
image = Image.open(src).convert("RGB").resize((2048, 1024), Image.Resampling.BOX)
red, green, blue = image.split()
darkest = Image.frombytes("L", image.size, bytes(min(p) for p in zip(red.tobytes(), green.tobytes(), blue.tobytes())))
grades = darkest.point(lambda v: 0 if v < 30 else 1 if v < 44 else 2 if v < 64 else 3)
result = Image.frombytes("P", image.size, grades.tobytes())
result.putpalette([0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255])
result.save(out, optimize=False, interlace=False)
PY
echo "wrote $out"
