#!/usr/bin/python3
"""Writes stars.dat from the Yale Bright Star Catalogue as xplanet ships it.

Input lines: declination (degrees), right ascension (hours), visual
magnitude, then a name and catalogue numbers that are not used. Lines
starting with '#' and blank lines are skipped.

Output: little-endian int32 count, then per star two int16 words (right
ascension in 65536ths of a turn; declination in 65536ths of half a turn,
counted towards the south celestial pole), then one brightness byte per star.

Brightness follows the square root of the star's flux, 255 at magnitude 1
and brighter: 255 * 10 ** (-0.2 * (m - 1)). The viewer adds a quarter of
it to the 64-step grey ramp, so stars of magnitude 1 and brighter reach
full white (level 63) and magnitude 6 still lights level 6.
"""
import math
import struct
import sys


def brightness(magnitude):
    value = round(255 * 10 ** (-0.2 * (magnitude - 1)))
    return max(0, min(255, value))


def encode(dec_degrees, ra_hours):
    a = round(ra_hours / 24 * 65536) % 65536
    if a >= 32768:
        a -= 65536
    # The south pole would be +32768, one past the range; it stays just short.
    b = max(-32768, min(32767, round(-dec_degrees * 65536 / 180)))
    return a, b


def read_catalogue(path):
    stars = []
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            fields = line.split()
            if not fields or fields[0].startswith("#"):
                continue
            try:
                dec, ra, mag = (float(x) for x in fields[:3])
            except ValueError:
                sys.exit(f"{path}:{number}: expected declination, right ascension, magnitude")
            if not (-90 <= dec <= 90 and 0 <= ra < 24 and math.isfinite(mag)):
                sys.exit(f"{path}:{number}: value out of range")
            stars.append((dec, ra, mag))
    return stars


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_stars.py BSC-FILE OUTPUT")
    stars = read_catalogue(sys.argv[1])
    out = bytearray(struct.pack("<i", len(stars)))
    for dec, ra, _ in stars:
        out += struct.pack("<hh", *encode(dec, ra))
    out += bytes(brightness(mag) for _, _, mag in stars)
    with open(sys.argv[2], "wb") as f:
        f.write(out)
    print(f"{sys.argv[2]}: {len(stars)} stars")


if __name__ == "__main__":
    main()
