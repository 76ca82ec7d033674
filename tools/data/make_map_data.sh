#!/bin/sh
# Rebuilds data/SHOREX.DAT and data/BORDX.DAT from Natural Earth's 1:50m
# land polygons and country borders as packaged in the npm package
# world-atlas (pinned below), at 65536 angle units per turn.
# Needs node, npm and a C++20 compiler.
# Usage: tools/data/make_map_data.sh [OUTPUT_DIR]   (default: data/)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${1:-"$root/data"}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm install --silent --no-audit --no-fund --no-save \
    world-atlas@2.0.2 topojson-client@3.1.0 >/dev/null)
NODE_PATH="$work/node_modules" node "$here/map_to_text.js" \
    "$work/node_modules/world-atlas" "$work/land.txt" "$work/borders.txt"

src="$root/src/earth"
${CXX:-c++} -std=c++20 -O2 -I"$root/src" "$here/encode_map.cpp" \
    "$src/map_writer.cpp" "$src/map_stream.cpp" "$src/huffman.cpp" "$src/bitstream.cpp" \
    "$root/src/core/file_reader.cpp" \
    -o "$work/encode_map"
"$work/encode_map" shore 65536 < "$work/land.txt" > "$out/SHOREX.DAT"
"$work/encode_map" bords 65536 < "$work/borders.txt" > "$out/BORDX.DAT"
