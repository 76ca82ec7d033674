#!/bin/sh
# Rebuilds every shipped file in data/ from its public source.
# Needs the packages of scripts/setup, node and npm for the map files, and the
# packages the star and image recipes name (they are not needed to build or test).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
"$here/make_globe_gif.sh"
"$here/make_map_data.sh"
"$here/make_stars.sh"
