#!/bin/sh
# Rebuilds every shipped file in data/ from its public source.
# Needs the packages of scripts/setup, plus node and npm for the map files.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
"$here/make_globe_gif.sh"
"$here/make_map_data.sh"
"$here/make_stars.sh"
