// Checks every map of a folder: the map check, and a house rule of our own (every faction
// taking part has troops and at most one capital). Throws at the end when any map fails, so
// `kvmap script` exits 2 and a build stops.
//   kvmap script check_folder.js --arg folder=maps/
var files = mapFiles(args.folder || ".");
var failed = 0;
var capital = db.terrainByName("首都").id;
files.forEach(function (file) {
    open(file);
    var problems = map.check().map(function (p) { return p.text; });
    var capitals = [0, 0, 0, 0, 0, 0];
    for (var row = 0; row < map.height; ++row)
        for (var col = 0; col < map.width; ++col) {
            var cell = map.cell(col, row);
            if (cell.terrain === capital && cell.owner >= 1 && cell.owner <= 6) ++capitals[cell.owner - 1];
        }
    map.factions.forEach(function (f) {
        if (!f.takesPart) return;
        if (map.troops(f.index).length === 0) problems.push(f.name + " has no troops");
        if (capitals[f.index] > 1) problems.push(f.name + " has " + capitals[f.index] + " capitals");
    });
    if (problems.length) ++failed;
    print(file + ": " + (problems.length ? problems.join("; ") : "OK"));
});
print(files.length + " maps, " + failed + " with problems");
if (failed) throw new Error(failed + " of " + files.length + " maps break the rules");
