// Turns world-atlas's Natural Earth TopoJSON into the text that encode_map
// reads: one "lon lat" line per point, in degrees, east and north positive,
// and a blank line after each loop or polyline.
//
// usage: node map_to_text.js WORLD_ATLAS_DIR LAND_TXT BORDERS_TXT
'use strict';
const fs = require('fs');
const path = require('path');
const topojson = require('topojson-client');

const [atlasDir, landOut, bordersOut] = process.argv.slice(2);
if (!bordersOut) {
  console.error('usage: node map_to_text.js WORLD_ATLAS_DIR LAND_TXT BORDERS_TXT');
  process.exit(2);
}
const read = (name) => JSON.parse(fs.readFileSync(path.join(atlasDir, name), 'utf8'));

// Longitude turned along a closed ring, each step taken the short way:
// +-360 for a ring that goes once around a pole.
function winding(ring) {
  let turned = 0;
  for (let i = 0; i < ring.length; i++) {
    const step = ring[(i + 1) % ring.length][0] - ring[i][0];
    turned += step - 360 * Math.round(step / 360);
  }
  return turned;
}

// The source's polygons meet the poles in rings that run along the pole line
// itself; they enclose nothing on the globe.
const alongPole = (ring) => ring.every(([, lat]) => Math.abs(lat) > 89.9);

function landRings(topology) {
  const land = topojson.feature(topology, topology.objects.land);
  const rings = [];
  let alongPoleCount = 0;
  let southPoleCount = 0;
  for (const feature of land.features) {
    const g = feature.geometry;
    const polygons = g.type === 'MultiPolygon' ? g.coordinates : [g.coordinates];
    for (const polygon of polygons) {
      for (const closed of polygon) {
        const ring = closed.slice(0, -1);  // GeoJSON repeats the first point
        if (alongPole(ring)) {
          alongPoleCount++;
          continue;
        }
        const turns = Math.round(winding(ring) / 360);
        if (turns !== 0) {
          // The shoreline test counts crossings towards the North Pole, so a
          // ring once around the South Pole keeps the pole inside; any other
          // ring around a pole would come out inside out.
          const meanLat = ring.reduce((s, p) => s + p[1], 0) / ring.length;
          if (Math.abs(turns) !== 1 || meanLat >= 0) {
            throw new Error(`ring of ${ring.length} points winds ${turns} times around the North Pole`);
          }
          southPoleCount++;
        }
        rings.push(ring);
      }
    }
  }
  if (southPoleCount !== 1) throw new Error(`expected one ring around the South Pole, found ${southPoleCount}`);
  console.error(`land: ${rings.length} rings kept, ${alongPoleCount} along a pole dropped, ` +
                `${southPoleCount} around the South Pole`);
  return rings;
}

function borderLines(topology) {
  // The arcs that two different countries share: land borders, not coasts.
  const mesh = topojson.mesh(topology, topology.objects.countries, (a, b) => a !== b);
  console.error(`borders: ${mesh.coordinates.length} polylines`);
  return mesh.coordinates;
}

const text = (lists) => lists.map((list) => list.map(([lon, lat]) => `${lon} ${lat}\n`).join('') + '\n').join('');

fs.writeFileSync(landOut, text(landRings(read('land-50m.json'))));
fs.writeFileSync(bordersOut, text(borderLines(read('countries-50m.json'))));
