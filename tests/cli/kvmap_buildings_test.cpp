// kvmap buildings: the count table of a map file, by kind and owner.
#include <gtest/gtest.h>

#include <string>

#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/cp932.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/test_paths.h"

namespace {

TEST(KvmapBuildings, CountsEveryKindPerOwner) {
    kvtest::TempDir dir;
    kvtest::copySampleData(dir.path());
    kv::setProgramPath(dir.file("kvornme"));
    kv::RecordingPrompter quiet;
    kv::ScopedPrompter installed(&quiet);
    kv::MapDocument doc;
    doc.loadResources();
    doc.resetToNewMap();
    int capital = -1;
    const std::vector<kv::TerrainType>& types = doc.gameDatabase.terrainTypes();
    for (size_t i = 0; i < types.size() && capital < 0; ++i)
        if (types[i].category == kv::TerrainCategory::Capital) capital = int(i);
    ASSERT_GE(capital, 0);
    // An intact capital of faction slot 1, a destroyed neutral one.
    for (auto [col, owner, destroyed] : {std::tuple{1, 2, 0}, {3, 0, 1}}) {
        kv::HexCell& c = *doc.cellAt(col, 1);
        c.terrain = uint8_t(capital);
        c.owner = uint8_t(owner);
        c.destroyed = uint8_t(destroyed);
    }
    const std::string path = dir.file("count.kvn");
    kv::writeMapFile(doc, path, kv::MapFileKind::Normal);

    const kvtest::CliRun r = kvtest::runKvmap("buildings " + path + " --program-dir " + dir.path());
    ASSERT_EQ(r.code, 0) << r.out;
    const std::string name = kv::decodeCp932Lossy(types[size_t(capital)].name);
    const std::string income = std::to_string(types[size_t(capital)].income);
    EXPECT_NE(r.out.find(name + ":  2 1/0 income " + income +
                         "  neutral 0/1 income 0  all 1/1 income " + income + "\n"),
              std::string::npos)
        << r.out;

    const kvtest::CliRun json =
        kvtest::runKvmap("buildings " + path + " --json --program-dir " + dir.path());
    EXPECT_EQ(json.code, 0);
    EXPECT_NE(json.out.find("\"kinds\""), std::string::npos);
    EXPECT_NE(json.out.find("\"totals\""), std::string::npos);

    EXPECT_EQ(kvtest::runKvmap("buildings " + dir.file("missing.kvn")).code, 2);
    EXPECT_EQ(kvtest::runKvmap("buildings").code, 2);
    kv::setProgramPath("");
}

}  // namespace
