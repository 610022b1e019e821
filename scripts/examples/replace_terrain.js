// Replaces one terrain by another on every hex, with the pen, as a designer would by hand.
//   kvmap script replace_terrain.js MAP --arg from=森林 --arg to=林 --out OUT
// `from` and `to` are terrain names or ids.
function terrainOf(value) {
    var t = /^[0-9]+$/.test(value) ? db.terrain(Number(value)) : db.terrainByName(value);
    if (!t) throw new Error("no terrain " + value);
    return t;
}
var from = terrainOf(args.from), to = terrainOf(args.to);
brush.terrain(to.id);
var replaced = 0;
for (var row = 0; row < map.height; ++row) {
    for (var col = 0; col < map.width; ++col) {
        if (map.cell(col, row).terrain !== from.id) continue;
        map.pen(col, row);
        ++replaced;
    }
}
print(from.name + " -> " + to.name + ": " + replaced + " hexes");
