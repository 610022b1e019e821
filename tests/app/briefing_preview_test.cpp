// The briefing and ending previews: the order of sections and pages, the marker timer that
// repaints only the overview, the overview's sampling, and the ending headline's font.
#include <QCoreApplication>
#include <QPaintEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

#include <gtest/gtest.h>

#include "app/briefing_preview.h"
#include "document/bulk_edits.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/cp932.h"
#include "framework/font.h"
#include "framework/picture.h"
#include "framework/profile.h"
#include "support/test_paths.h"

namespace kv {
namespace {

using F = ScenarioTexts;
using B = BriefingPreview;

std::string lines(int n, const char* word) {
    std::string out;
    for (int i = 0; i < n; ++i) out += std::string(word) + std::to_string(i) + "\n";
    return out;
}

class PreviewTest : public testing::Test {
protected:
    void SetUp() override {
        setProgramPath(kvtest::distDir() + "/kvornme");
        doc = std::make_unique<MapDocument>();
        doc->loadResources();
        ASSERT_TRUE(loadMapFile(*doc, kvtest::distDir() + "/map/demo_scenario.kvs"));
    }
    void TearDown() override {
        Dialog::onModalStart = nullptr;
        doc.reset();
        setProgramPath("");
    }
    // Runs `preview`, doing `act` once it is up; the preview must have closed itself by then.
    template <class P, class Act>
    void run(P& preview, Act act) {
        bool closedByAct = false;
        Dialog::onModalStart = [&](Dialog&) {
            QTimer::singleShot(0, [&] {
                act(preview);
                closedByAct = !preview.handle()->isVisible();
                if (!closedByAct) preview.end();
            });
        };
        preview.run();
        Dialog::onModalStart = nullptr;
        EXPECT_TRUE(closedByAct);
    }
    static bool shown(Dialog& d, int id) { return d.control<QPushButton>(id)->isVisible(); }
    static void click(Dialog& d, int id) { d.control<QPushButton>(id)->click(); }
    std::unique_ptr<MapDocument> doc;
};

TEST_F(PreviewTest, NextAndBackWalkThePagesAndTheShownSections) {
    ScenarioTexts& st = doc->scenarioTexts;
    st.setField(F::BriefingBody, lines(20, "b"));  // two pages
    st.setField(F::OrderBody, lines(5, "o"));      // one page
    st.setField(F::VictoryText, lines(13, "v"));   // the factions go to a second page
    st.setBriefingMode(1);
    st.setOrderMode(1);
    B preview(nullptr, *doc);
    run(preview, [&](B& p) {
        EXPECT_EQ(p.handle()->size(), QSize(640, 512));
        EXPECT_EQ(p.section(), B::kBriefing);
        EXPECT_EQ(p.pageCount(B::kBriefing), 2);
        EXPECT_FALSE(p.markersPulsing());
        EXPECT_TRUE(shown(p, B::kIdNext) && !shown(p, B::kIdFinish));
        EXPECT_FALSE(shown(p, B::kIdFourth));
        click(p, B::kIdNext);
        EXPECT_EQ(p.page(), 1);
        click(p, B::kIdNext);
        EXPECT_EQ(p.section(), B::kOrder);
        EXPECT_TRUE(p.markersPulsing());
        click(p, B::kIdNext);
        EXPECT_EQ(p.section(), B::kVictory);
        EXPECT_FALSE(p.markersPulsing());
        EXPECT_EQ(p.pageCount(B::kVictory), 2);
        click(p, B::kIdNext);
        EXPECT_EQ(p.page(), 1);
        EXPECT_TRUE(shown(p, B::kIdFinish) && !shown(p, B::kIdNext));
        click(p, B::kIdBack);
        click(p, B::kIdBack);
        EXPECT_EQ(p.section(), B::kOrder);
        EXPECT_TRUE(p.markersPulsing());
        click(p, B::kIdBack);  // the briefing, on its last page
        EXPECT_EQ(p.section(), B::kBriefing);
        EXPECT_EQ(p.page(), 1);
        click(p, B::kIdBack);
        click(p, B::kIdBack);  // nothing before: closes
    });

    // No briefing and no order: straight to the victory pages; back closes.
    st.setBriefingMode(0);
    st.setOrderMode(0);
    B victoryOnly(nullptr, *doc);
    run(victoryOnly, [&](B& p) {
        EXPECT_EQ(p.section(), B::kVictory);
        click(p, B::kIdBack);
    });

    // Scrolling: one tall page, left at once by next; the scroll stays within the text.
    st.setField(F::BriefingBody, lines(60, "s"));
    st.setBriefingMode(2);
    B scrolling(nullptr, *doc);
    run(scrolling, [&](B& p) {
        EXPECT_EQ(p.pageCount(B::kBriefing), 1);
        QWidget* canvas = p.handle()->findChild<QWidget*>("newsCanvas");
        ASSERT_NE(canvas, nullptr);
        for (int i = 0; i < 40; ++i) QTest::keyClick(canvas, Qt::Key_PageDown);
        // 60 lines: 14 on the first page, 46 scrolling, 336 pixels in view.
        EXPECT_EQ(p.scrollOffset(), 336 + 24 * 46 - 336);
        for (int i = 0; i < 40; ++i) QTest::keyClick(canvas, Qt::Key_PageUp);
        EXPECT_EQ(p.scrollOffset(), 0);
        click(p, B::kIdNext);
        EXPECT_EQ(p.section(), B::kVictory);
        // A right click closes.
        QTest::mouseClick(canvas, Qt::RightButton);
    });
}

TEST_F(PreviewTest, EachMarkerTickRepaintsTheOverviewBoxOnly) {
    doc->scenarioTexts.setBriefingMode(0);
    doc->scenarioTexts.setOrderMode(1);
    B preview(nullptr, *doc);
    struct PaintLog : QObject {
        std::vector<QRect> rects;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) rects.push_back(static_cast<QPaintEvent*>(e)->rect());
            return false;
        }
    } log;
    run(preview, [&](B& p) {
        QWidget* canvas = p.handle()->findChild<QWidget*>("newsCanvas");
        ASSERT_NE(canvas, nullptr);
        const QRect box = p.overviewRect();
        ASSERT_FALSE(box.isEmpty());
        QCoreApplication::processEvents();
        canvas->installEventFilter(&log);
        p.tick();
        p.tick();
        QCoreApplication::processEvents();
        canvas->removeEventFilter(&log);
        ASSERT_FALSE(log.rects.empty());
        for (const QRect& r : log.rects) EXPECT_TRUE(box.contains(r)) << r.x() << "," << r.y();
        p.end();
    });
}

TEST_F(PreviewTest, OverviewSamplesHexesAndMarksTheTargets) {
    // The demo map: 48 × 36, two pixels a hex, a marker for each target label.
    MapOverview demo(*doc);
    EXPECT_EQ(demo.size(), QSize(96, 72));
    size_t targets = 0;
    for (const TerrainLabel& l : doc->mapGrid.labels)
        if (l.inUse() && (l.kind == 1 || l.value == 1)) ++targets;
    EXPECT_GT(targets, 0u);
    EXPECT_EQ(demo.markers().size(), targets);
    for (const QPoint& m : demo.markers())
        EXPECT_EQ(demo.image().pixel(m + QPoint(1, 1)), qRgb(255, 255, 255));
    EXPECT_EQ(MapOverview::pulseLevel(0), 255);
    EXPECT_EQ(MapOverview::pulseLevel(12), 75);
    EXPECT_EQ(MapOverview::pulseLevel(13), 90);
    EXPECT_EQ(MapOverview::pulseLevel(24 + 25), 255);

    // Wider than 128: every second hex, one pixel each, and a building in the 2 × 2 block wins.
    changeMapSize(*doc, 130, 66, 0);
    int building = -1;
    const std::vector<TerrainType>& types = doc->gameDatabase.terrainTypes();
    for (size_t i = 0; i < types.size() && building < 0; ++i)
        if (static_cast<int>(types[i].category) >= 12 && types[i].name[0]) building = int(i);
    ASSERT_GE(building, 0);
    doc->cellAt(1, 1)->terrain = uint8_t(building);
    doc->cellAt(1, 1)->owner = 3;
    doc->cellAt(3, 1)->terrain = uint8_t(building);
    doc->cellAt(3, 1)->owner = 0;
    const MapOverview large(*doc);
    EXPECT_EQ(large.step(), 2);
    EXPECT_EQ(large.size(), QSize(65, 33));
    const QImage owners = loadPicture("hqc1.bmp").image();
    EXPECT_EQ(large.image().pixel(0, 0), owners.pixel(2, 0));
    EXPECT_EQ(large.image().pixel(1, 0), owners.pixel(6, 0));  // unowned
}

TEST_F(PreviewTest, EndingHeadlineTooWideFor48PixelsTakes28) {
    const HeadlinePlace fits = placeEndingHeadline(400, 48, 250, 28);
    EXPECT_FALSE(fits.small);
    EXPECT_EQ(fits.x, 57 + 64);
    EXPECT_EQ(fits.y, 20);
    const HeadlinePlace wide = placeEndingHeadline(600, 48, 350, 28);
    EXPECT_TRUE(wide.small);
    EXPECT_EQ(wide.x, 57 + 89);
    EXPECT_EQ(wide.y, 30);

    // Thirteen full-width characters are 624 pixels in the 48-pixel font.
    const std::string headline = encodeCp932("停戦協定調印三国首脳会談へ").value();
    ASSERT_GT(QFontMetrics(createFont(48, 400))
                  .horizontalAdvance(QString::fromStdString(decodeCp932Lossy(headline))),
              528);
    doc->scenarioTexts.setField(F::EndingHeadline, headline);
    doc->scenarioTexts.setField(F::EndingBody, lines(15, "e"));
    EndingPreview preview(nullptr, *doc);
    run(preview, [&](EndingPreview& p) {
        EXPECT_TRUE(p.headlinePlace().small);
        EXPECT_EQ(p.pageCount(), 2);
        EXPECT_TRUE(shown(p, B::kIdNext));
        click(p, B::kIdNext);
        EXPECT_TRUE(shown(p, B::kIdFinish) && !shown(p, B::kIdNext));
        click(p, B::kIdFinish);
    });
}

TEST_F(PreviewTest, DamagedTextsAndPicturesStillShow) {
    // Lead bytes everywhere and no NUL in any field; a picture blob that is no bitmap.
    ScenarioTexts& st = doc->scenarioTexts;
    std::fill(st.bytes.begin(), st.bytes.begin() + F::kBlockSize, uint8_t{0x83});
    st.setBriefingMode(1);
    st.setOrderMode(2);
    st.setEndingShown(1);
    st.briefingPicture = {'B', 'M', 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3};
    st.endingPicture.assign(70, 0xEE);
    B preview(nullptr, *doc);
    run(preview, [&](B& p) {
        for (int i = 0; i < 2000 && p.handle()->isVisible(); ++i) {
            p.render();
            click(p, shown(p, B::kIdFinish) ? B::kIdFinish : B::kIdNext);
        }
    });
    EndingPreview ending(nullptr, *doc);
    run(ending, [&](EndingPreview& p) {
        EXPECT_FALSE(p.render().isNull());
        click(p, B::kIdBack);
    });
}

}  // namespace
}  // namespace kv
