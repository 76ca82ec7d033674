#!/usr/bin/env bash
# Rebuilds every shipped file in data/ from its public source, byte for byte.
# Installs what the recipes need when it is missing, as scripts/setup does:
# the Blue Marble image and the star catalogue from Debian's xplanet packages,
# Pillow, node and npm for the npm packages, and a C++ compiler.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(xplanet xplanet-images python3 python3-pil g++)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# A node from elsewhere brings its own npm, which Debian's npm would conflict with.
command -v npm >/dev/null || missing+=(nodejs npm)
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "make_all: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

"$here/make_globe_gif.sh"
"$here/make_lights_gif.sh"
"$here/make_map_data.sh"
"$here/make_stars.sh"
