#!/bin/sh
# Rebuilds data/globe.gif: NASA's Blue Marble map as shipped in Debian's
# xplanet-images package, 2048 x 1024, reduced to 64 colours so that palette
# entries 64..255 keep the viewer's ramps. Colour 0 is black (space around the
# globe) and colour 31 white (the status text); the image's 62 colours, dithered,
# take the other entries.
# Usage: tools/data/make_globe_gif.sh [OUTPUT]   (default: data/globe.gif)
set -eu
out=${1:-"$(dirname "$0")/../../data/globe.gif"}
src=$(dpkg -L xplanet-images 2>/dev/null | grep '/images/earth\.jpg$' | head -n 1) || true
if [ -z "$src" ] || [ ! -f "$src" ]; then
    echo "make_globe_gif: earth.jpg not found; install it with: apt-get install xplanet-images" >&2
    exit 1
fi
/usr/bin/python3 - "$src" "$out" <<'PY'
import sys
from PIL import Image

src, out = sys.argv[1], sys.argv[2]
image = Image.open(src).convert("RGB")
if image.size != (2048, 1024):
    image = image.resize((2048, 1024), Image.Resampling.LANCZOS)
colours = image.quantize(colors=62, method=Image.Quantize.MEDIANCUT)
dithered = image.quantize(palette=colours, dither=Image.Dither.FLOYDSTEINBERG)

# Image colour i goes to entry i + 1, or i + 2 from entry 31 on.
slots = [i + 1 if i < 30 else i + 2 for i in range(62)] + [0] * 194
rgb = dithered.getpalette()[: 62 * 3]
palette = [0, 0, 0] + rgb[: 30 * 3] + [255, 255, 255] + rgb[30 * 3 :]
result = Image.frombytes("P", image.size, dithered.tobytes().translate(bytes(slots)))
result.putpalette(palette)
result.save(out, optimize=False, interlace=False)
PY
echo "wrote $out"
