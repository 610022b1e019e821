// The batch conversion: every kind of map in a folder converted and written by its scenario
// texts, failures reported and passed over, and the source folder never written to.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "document/batch_conversion.h"
#include "document/map_file.h"
#include "legacy_fixture.h"
#include "sampledata/legacy_maps.h"
#include "support/test_paths.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using kvtest::LegacyFixture;

// Every file under a folder with its bytes.
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        const std::string rel = fs::relative(e.path(), folder).string();
        files[rel] = e.is_regular_file() ? kvtest::readFile(e.path().string()) : "<entry>";
    }
    return files;
}

class BatchConversion : public LegacyFixture {
protected:
    void SetUp() override {
        LegacyFixture::SetUp();
        source = dir.file("source");
        destination = dir.file("converted");
        fs::create_directories(source);
    }
    BatchResult run(const std::string& from, const std::string& to) {
        events.clear();
        return convertFolder(doc(), from, to, [this](const BatchEvent& e) { events.push_back(e); });
    }
    kvtest::TempDir dir;
    std::string source, destination;
    std::vector<BatchEvent> events;
};

TEST_F(BatchConversion, ConvertsEveryKindAndGoesOnAfterAFailure) {
    kvtest::writeFile(source + "/a_realtime.wtm", legacyMapBytes(sample::legacyExampleMap(1)));
    kvtest::writeFile(source + "/b_deluxe.v2.bxs", legacyMapBytes(sample::legacyExampleMap(3)));
    std::string badVersion = legacyMapBytes(smallMap(legacy::kEarlier));
    badVersion.replace(0, 16, "QUISCENARIO00009");
    kvtest::writeFile(source + "/c_broken.qus", badVersion);
    doc().resetToNewMap();
    doc().scenarioTexts.setField(ScenarioTexts::VictoryText, "win");
    writeMapFile(doc(), source + "/d_scenario.kvs", MapFileKind::Scenario);
    doc().resetToNewMap();
    doc().mapHeader.setMapName("PLAIN");
    writeMapFile(doc(), source + "/e_plain", MapFileKind::Normal);
    kvtest::writeFile(source + "/f_notes.txt", "not a map");
    fs::create_symlink(source + "/nowhere", source + "/g_dangling.fws");
    fs::create_directories(source + "/h_folder.qus");
    const auto before = snapshot(source);

    const BatchResult r = run(source, destination);
    EXPECT_EQ(r.refusal, "");
    EXPECT_EQ(r.converted, 4);
    EXPECT_EQ(r.skipped, 1);
    ASSERT_EQ(r.failures.size(), 2u);
    EXPECT_EQ(r.failures[0].source, source + "/c_broken.qus");
    EXPECT_EQ(r.failures[1].source, source + "/g_dangling.fws");
    EXPECT_EQ(snapshot(source), before);

    // Scenario texts decide the extension; a name without one gets it added.
    for (const char* name : {"a_realtime.kvn", "b_deluxe.v2.kvs", "d_scenario.kvs", "e_plain.kvn"})
        EXPECT_TRUE(fs::is_regular_file(destination + "/" + name)) << name;
    EXPECT_EQ(std::distance(fs::directory_iterator(destination), fs::directory_iterator()), 4);

    // One event per converted or failed file, in name order, then the closing text.
    ASSERT_EQ(events.size(), 7u);
    EXPECT_EQ(events[0].kind, BatchEvent::Converted);
    EXPECT_EQ(events[0].status, "マップ名 [大河の谷]を変換");
    EXPECT_FALSE(events[0].troopsChanged);
    EXPECT_TRUE(events[1].troopsChanged);  // the deluxe example's drone
    EXPECT_EQ(events[2].kind, BatchEvent::Failed);
    EXPECT_EQ(events[3].status, "マップ名 [新規マップ]を変換");
    EXPECT_EQ(events[5].kind, BatchEvent::Failed);
    EXPECT_EQ(events[6].kind, BatchEvent::Finished);
    EXPECT_EQ(events[6].status, "変換を完了しました。\nマップ数 4 枚\n変換できなかったマップ 2 枚");
    EXPECT_EQ(events[6].total, 7);

    // The last map stays in the document; it asks for no saving.
    EXPECT_EQ(doc().mapHeader.mapName(), "PLAIN");
    EXPECT_EQ(doc().documentOpen, 0);

    // The written files load as maps of this editor.
    MapDocument& d = doc();
    ASSERT_TRUE(loadMapFile(d, destination + "/b_deluxe.v2.kvs"));
    EXPECT_EQ(utf8(d.scenarioTexts.field(ScenarioTexts::VictoryText)), "敵首都の占領");
    EXPECT_EQ(d.troops.count[0], 69);
    ASSERT_TRUE(loadMapFile(d, destination + "/a_realtime.kvn"));
    EXPECT_EQ(d.width(), 20);
    EXPECT_EQ(d.labelCount(), 5);
}

TEST_F(BatchConversion, NeverWritesIntoASourceFolder) {
    kvtest::writeFile(source + "/map.bxs", legacyMapBytes(smallMap(legacy::kDeluxe)));
    fs::create_directories(source + "/sub");
    fs::create_directory_symlink(source, dir.file("link"));
    const auto before = snapshot(source);
    for (const std::string& to :
         {source, source + "/", source + "/.", source + "/sub", source + "/new/deeper",
          dir.file("link"), dir.file("converted/../source")}) {
        const BatchResult r = run(source, to);
        EXPECT_EQ(
            r.refusal,
            "変換マップ格納フォルダーに変換元フォルダーとその中のフォルダーは指定できません。")
            << to;
        EXPECT_TRUE(events.empty());
        EXPECT_EQ(snapshot(source), before) << to;
    }
    // Named files are checked by their folders too.
    const BatchResult files =
        convertMaps(doc(), {source + "/map.bxs"}, source + "/sub", BatchListener());
    EXPECT_FALSE(files.refusal.empty());
    EXPECT_EQ(snapshot(source), before);

    EXPECT_EQ(run(dir.file("absent"), destination).refusal, "変換元フォルダーが見つかりません。");
    const BatchResult ok = run(source, dir.file("elsewhere/deep"));
    EXPECT_EQ(ok.converted, 1);
    EXPECT_TRUE(fs::is_regular_file(dir.file("elsewhere/deep/map.kvn")));

    // A link in the destination that names a source file is replaced, never written through.
    fs::create_directories(destination);
    fs::create_symlink(source + "/map.bxs", destination + "/map.kvn");
    EXPECT_EQ(run(source, destination).converted, 1);
    EXPECT_EQ(snapshot(source), before);
    EXPECT_FALSE(fs::is_symlink(destination + "/map.kvn"));
    EXPECT_EQ(std::distance(fs::directory_iterator(destination), fs::directory_iterator()), 1);
}

TEST_F(BatchConversion, LinksPlantedAtTemporaryNamesAreNeverWrittenThrough) {
    kvtest::writeFile(source + "/map.bxs", legacyMapBytes(smallMap(legacy::kDeluxe)));
    const std::string victim = dir.file("victim.txt");
    kvtest::writeFile(victim, "keep");
    fs::create_directories(destination);
    for (const char* name : {"/.map.kvn.kvtmp", "/.map.kvn.kvtmp.AAAAAA", "/.map.kvn.XXXXXX"})
        fs::create_symlink(victim, destination + name);
    const BatchResult r = run(source, destination);
    EXPECT_EQ(r.converted, 1);
    EXPECT_TRUE(r.failures.empty());
    EXPECT_EQ(kvtest::readFile(victim), "keep");
    ASSERT_TRUE(loadMapFile(doc(), destination + "/map.kvn"));
    // The links stay as they were and nothing else is left beside the map.
    EXPECT_EQ(std::distance(fs::directory_iterator(destination), fs::directory_iterator()), 4);
    EXPECT_TRUE(fs::is_symlink(destination + "/.map.kvn.kvtmp.AAAAAA"));
}

TEST_F(BatchConversion, ASecondMapOfTheSameOutputNameIsNotWrittenOverTheFirst) {
    kvtest::writeFile(source + "/x.bxm", legacyMapBytes(smallMap(legacy::kDeluxe)));
    LegacyMap other = smallMap(legacy::kModern);
    other.name = "SECOND";
    kvtest::writeFile(source + "/x.fwm", legacyMapBytes(other));
    const BatchResult r = run(source, destination);
    EXPECT_EQ(r.converted, 1);
    ASSERT_EQ(r.failures.size(), 1u);
    EXPECT_EQ(r.failures[0].source, source + "/x.fwm");
    ASSERT_TRUE(loadMapFile(doc(), destination + "/x.kvn"));
    EXPECT_EQ(doc().mapHeader.mapName(), "OLD");
}

TEST(BatchNames, OutputNamesReplaceTheLastExtension) {
    EXPECT_EQ(convertedFileName("a.b.qus", true), "a.b.kvs");
    EXPECT_EQ(convertedFileName("map.kvs", false), "map.kvn");
    EXPECT_EQ(convertedFileName("plain", true), "plain.kvs");
}

}  // namespace
}  // namespace kv
