// Generates a random island on a new map: open sea, a coast of shallows and beach, plains,
// forest and hills inland, a mountain ridge, and a road from coast to coast.
//   kvmap script island.js --arg seed=7 --arg size=48 --out island.kvs
newMap();
var size = Number(args.size || 48), seed = Number(args.seed || 1) >>> 0;
map.resize(size, size);

// A small deterministic generator, so a seed always gives the same island.
function random() {
    seed = (Math.imul(seed, 1664525) + 1013904223) >>> 0;
    return seed / 4294967296;
}
function id(name) { return db.terrainByName(name).id; }

// The height of each hex: a few random hills of land over the sea.
var height = [], centre = size / 2;
for (var row = 0; row < size; ++row) {
    height.push([]);
    for (var col = 0; col < size; ++col) {
        var dx = (col - centre) / centre, dy = (row - centre) / centre;
        height[row].push(1 - Math.sqrt(dx * dx + dy * dy) * 1.3);
    }
}
for (var k = 0; k < 12; ++k) {
    var hc = size * (0.25 + random() * 0.5), hr = size * (0.25 + random() * 0.5);
    var radius = size * (0.08 + random() * 0.15), lift = 0.2 + random() * 0.4;
    for (var r = 0; r < size; ++r)
        for (var c = 0; c < size; ++c) {
            var d = Math.sqrt((c - hc) * (c - hc) + (r - hr) * (r - hr)) / radius;
            if (d < 1) height[r][c] += lift * (1 - d);
        }
}

var bands = [[0.7, id("山地")], [0.55, id("丘陵")], [0.4, id("森林")], [0.12, id("平地")],
             [0.05, id("砂浜")], [-0.05, id("浅瀬")], [-0.3, id("海")]];
var land = 0;
for (var row = 0; row < size; ++row) {
    for (var col = 0; col < size; ++col) {
        for (var b = 0; b < bands.length; ++b) {
            if (height[row][col] < bands[b][0]) continue;
            brush.terrain(bands[b][1]);
            map.pen(col, row);
            if (bands[b][0] >= 0.05) ++land;
            break;
        }
    }
}

// A road across the widest row of land.
var middle = Math.floor(size / 2), first = -1, last = -1;
for (var col = 0; col < size; ++col) {
    var t = map.cell(col, middle).terrain;
    if (t === id("平地") || t === id("森林")) { if (first < 0) first = col; last = col; }
}
if (first >= 0 && last > first) {
    brush.terrain(id("道路"));
    map.line(first, middle, last, middle);
}
print("island of " + land + " land hexes on " + size + " x " + size + " (seed " + args.seed + ")");
