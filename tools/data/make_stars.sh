#!/bin/sh
# Rebuilds data/stars.dat from the Bright Star Catalogue in Debian's xplanet
# package, which only this recipe needs (apt-get install xplanet).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
bsc=$(dpkg -L xplanet 2>/dev/null | grep '/stars/BSC$' | head -n 1 || true)
if [ -z "$bsc" ] || [ ! -f "$bsc" ]; then
    echo "make_stars.sh: the xplanet package's stars/BSC is missing (apt-get install xplanet)" >&2
    exit 1
fi
/usr/bin/python3 "$here/make_stars.py" "$bsc" "$root/data/stars.dat"
