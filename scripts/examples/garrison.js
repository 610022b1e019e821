// Places the same garrison in every capital: each faction's capital gets a troop of the weapon
// on the capital itself, or on a hex next to it where it may stand.
//   kvmap script garrison.js MAP --arg weapon=1220 [--arg units=10] --out OUT
var weapon = db.weapon(Number(args.weapon || 1220));
if (!weapon) throw new Error("no weapon " + args.weapon);
var units = Number(args.units || 10);
var capital = db.terrainByName("首都");
var placed = 0;

// The hexes next to (col, row) inside the map.
function around(col, row) {
    var hexes = [];
    for (var r = row - 1; r <= row + 1; ++r)
        for (var c = col - 1; c <= col + 1; ++c)
            if ((c !== col || r !== row) && c >= 0 && r >= 0 && c < map.width && r < map.height)
                hexes.push([c, r]);
    return hexes;
}

for (var row = 0; row < map.height; ++row) {
    for (var col = 0; col < map.width; ++col) {
        var cell = map.cell(col, row);
        if (cell.terrain !== capital.id || cell.owner < 1 || cell.owner > 6) continue;
        var faction = cell.owner - 1, candidates = [[col, row]].concat(around(col, row));
        var where = null;
        for (var i = 0; i < candidates.length && !where; ++i) {
            try {
                map.placeTroop(faction, weapon.id, candidates[i][0], candidates[i][1], {unitCount: units});
                where = candidates[i];
            } catch (e) {
                // Taken or impassable: try the next hex.
            }
        }
        if (where) {
            ++placed;
            print(map.factions[faction].name + ": " + weapon.name + " at " + where[0] + "," + where[1]);
        } else {
            print(map.factions[faction].name + ": no room at the capital " + col + "," + row);
        }
    }
}
print(placed + " garrisons placed");
