// The underlay commands (size limit, damaged pictures, placement) and the faction colour
// dialog (clamped angle, Cancel, OK reaching every faction-coloured sheet), driven through
// the file dialog seam, the prompter and the dialogs' own controls.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/faction_colour_dialog.h"
#include "app/main_frame.h"
#include "app/underlay_dialog.h"
#include "document/map_document.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "support/editor_fixture.h"
#include "view/map_view.h"
#include "view/sprite_sheets.h"

namespace kv {
namespace {

// A new map of 64 × 64: the largest underlay is 2064 × 1544.
class UnderlayAndColours : public kvtest::EditorTest {
protected:
    MapRenderer& renderer() { return frame->mapView()->renderer(); }
    // Opens `path` as the underlay; the placement dialog, if it comes, is answered by `place`.
    void openUnderlayFile(const std::string& path,
                          const std::function<void(UnderlayPlacementDialog&)>& place = {}) {
        placementShown = false;
        setFileDialogHook([path](FileDialogRequest&) { return path; });
        Dialog::onModalStart = [this, place](Dialog& d) {
            auto* p = dynamic_cast<UnderlayPlacementDialog*>(&d);
            ASSERT_NE(p, nullptr);
            placementShown = true;
            QTimer::singleShot(0, [p, place] {
                if (place) place(*p);
                p->sendCommand(kIdOk);
            });
        };
        frame->sendCommand(cmd::OpenUnderlay);
        QCoreApplication::processEvents();
    }
    // A faction colour dialog run from the menu, its controls worked by `work`, ended by `end`.
    void runColourDialog(const std::function<void(FactionColourDialog&)>& work, int end) {
        Dialog::onModalStart = [work, end](Dialog& d) {
            auto* c = dynamic_cast<FactionColourDialog*>(&d);
            ASSERT_NE(c, nullptr);
            QTimer::singleShot(0, [c, work, end] {
                work(*c);
                c->sendCommand(end);
            });
        };
        frame->sendCommand(cmd::CustomiseFactionColours);
        QCoreApplication::processEvents();
    }

    RecordingPrompter prompts;
    ScopedPrompter installed{&prompts};
    bool placementShown = false;
};

// A JPEG whose header says 16 × 16 but which defines no quantisation table: its size can
// be read, its pixels cannot.
std::string jpegWithoutTables() {
    const unsigned char bytes[] = {
        0xFF, 0xD8,                                                  // start of image
        0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0x10, 0x00, 0x10, 0x03,  // frame: 16 × 16, 3
        0x01, 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01,        // components
        0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03,  // scan
        0x11, 0x00, 0x3F, 0x00, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC,  // and some data
        0xFF, 0xD9};                                                 // end of image
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

TEST_F(UnderlayAndColours, PicturesTooLargeOrDamagedAreRefusedAndTheOldUnderlayStays) {
    // The widest picture the map takes is placed at the chosen hex.
    QImage fits(2064, 4, QImage::Format_RGB32);
    fits.fill(0xFF3060A0u);
    ASSERT_TRUE(fits.save(QString::fromStdString(dir.file("fits.png"))));
    openUnderlayFile(dir.file("fits.png"), [](UnderlayPlacementDialog& p) {
        p.control<QRadioButton>(UnderlayPlacementDialog::kIdActualSize)->click();
        p.control<QSpinBox>(UnderlayPlacementDialog::kIdCol)->setValue(3);
        p.control<QSpinBox>(UnderlayPlacementDialog::kIdRow)->setValue(2);
    });
    EXPECT_TRUE(placementShown);
    EXPECT_TRUE(prompts.seen.empty());
    ASSERT_EQ(renderer().underlaySize(), QSize(2064, 4));
    EXPECT_EQ(frame->mapView()->underlayOffsetCol, 3);
    EXPECT_EQ(frame->mapView()->underlayOffsetRow, 2);
    EXPECT_TRUE(frame->mapView()->underlayActualSize);
    EXPECT_EQ(readFolderKey("EbauchePath"), dir.path());

    // One pixel wider is refused with the limit, before any dialog; so is a damaged JPEG,
    // a file that is no picture and a missing file.
    QImage wide(2065, 4, QImage::Format_RGB32);
    wide.fill(Qt::red);
    ASSERT_TRUE(wide.save(QString::fromStdString(dir.file("wide.bmp")), "BMP"));
    kvtest::writeFile(dir.file("broken.jpg"), jpegWithoutTables());
    kvtest::writeFile(dir.file("text.bmp"), "BM not a bitmap at all");
    const std::pair<std::string, std::string> cases[] = {
        {"wide.bmp", "グラフィックが大きすぎます。\n最大サイズは2064x1544ドットです。"},
        {"broken.jpg", "下絵を読み込めませんでした。"},
        {"text.bmp", "下絵を読み込めませんでした。"},
        {"missing.jpg", "下絵のファイルを開けませんでした。"}};
    for (const auto& [name, text] : cases) {
        prompts.seen.clear();
        openUnderlayFile(dir.file(name));
        EXPECT_FALSE(placementShown) << name;
        ASSERT_EQ(prompts.seen.size(), 1u) << name;
        EXPECT_EQ(prompts.seen[0].caption, "注意");
        EXPECT_EQ(prompts.seen[0].text.substr(0, text.size()), text) << name;
        EXPECT_EQ(renderer().underlaySize(), QSize(2064, 4)) << name;
    }

    // The clipboard is checked against the same limit; a picture that fits is fitted.
    QApplication::clipboard()->setImage(wide);
    prompts.seen.clear();
    frame->sendCommand(cmd::PasteUnderlay);
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].text,
              "グラフィックが大きすぎます。\n最大サイズは2064x1544ドットです。");
    QImage small(20, 10, QImage::Format_RGB32);
    small.fill(Qt::green);
    QApplication::clipboard()->setImage(small);
    Dialog::onModalStart = [](Dialog& d) {
        QTimer::singleShot(0, [&d] {
            d.control<QRadioButton>(UnderlayPlacementDialog::kIdFit)->click();
            d.sendCommand(kIdOk);
        });
    };
    frame->sendCommand(cmd::PasteUnderlay);
    QCoreApplication::processEvents();
    EXPECT_EQ(renderer().underlaySize(), QSize(20, 10));
    EXPECT_FALSE(frame->mapView()->underlayActualSize);
    EXPECT_EQ(frame->mapView()->underlayOffsetCol, 0);
}

TEST_F(UnderlayAndColours, TheHueFieldClampsAndCancelLeavesTheFileAsItWas) {
    // A table file written from the layout: entry i has the angle 10·i, second i, third 2·i.
    std::string bytes;
    for (int i = 0; i < 16; ++i)
        for (int v : {10 * i, i, 2 * i}) bytes += {char(v & 0xFF), char(v >> 8)};
    const std::string path = dir.file("cstmcl.dat");
    kvtest::writeFile(path, bytes);
    ASSERT_TRUE(doc->factionColours.load());
    const FactionColourTable before = doc->factionColours;

    runColourDialog(
        [](FactionColourDialog& d) {
            auto* hue = d.control<QLineEdit>(FactionColourDialog::kIdHue);
            hue->selectAll();
            QTest::keyClicks(hue, "400");
            EXPECT_EQ(hue->text(), "360");
            EXPECT_EQ(d.control<QSlider>(FactionColourDialog::kIdHueBar)->value(), 360);
            EXPECT_EQ(d.table.entries[4].hueAngle, 360);
            // The second tab's buttons select entries 0..5.
            d.control<QTabBar>(FactionColourDialog::kIdTabs)->setCurrentIndex(1);
            d.sendCommand(FactionColourDialog::kIdFirstColour + 2);
            EXPECT_EQ(d.selectedEntry(), 2);
            EXPECT_EQ(hue->text(), "20");
            d.control<QSlider>(FactionColourDialog::kIdHueBar)->setValue(77);
            EXPECT_EQ(hue->text(), "77");
        },
        kIdCancel);
    EXPECT_EQ(kvtest::readFile(path), bytes);
    EXPECT_EQ(doc->factionColours, before);

    runColourDialog(
        [](FactionColourDialog& d) {
            auto* hue = d.control<QLineEdit>(FactionColourDialog::kIdHue);
            hue->selectAll();
            QTest::keyClicks(hue, "-5");
            EXPECT_EQ(hue->text(), "0");
            hue->selectAll();
            QTest::keyClicks(hue, "400");
        },
        kIdOk);
    // Only entry 4's angle (offset 24) changed; the carried fields are written back as read.
    std::string expected = bytes;
    expected[24] = char(360 & 0xFF);
    expected[25] = char(360 >> 8);
    EXPECT_EQ(kvtest::readFile(path), expected);
    EXPECT_EQ(doc->factionColours.entries[4].hueAngle, 360);
}

TEST_F(UnderlayAndColours, ANewColourReachesEveryFactionColouredSheet) {
    const SpriteSheets& sheets = renderer().sheets();
    const Sheet coloured[] = {Sheet::Building, Sheet::Bridge, Sheet::Territory, Sheet::Border,
                              Sheet::WeaponIcon};
    std::map<Sheet, QImage> before;
    for (Sheet s : coloured) {
        ASSERT_FALSE(sheets[s].isNull());
        before[s] = sheets[s].pixels().copy();
    }
    const QImage base = sheets[Sheet::Base].pixels().copy();
    // The second faction (entry 5) turns by 180 degrees more.
    const int angle = (doc->factionColours.hueAngle(5) + 180) % 360;
    runColourDialog(
        [angle](FactionColourDialog& d) {
            d.sendCommand(FactionColourDialog::kIdFirstColour + 1);
            d.control<QSlider>(FactionColourDialog::kIdHueBar)->setValue(angle);
        },
        kIdOk);
    QCoreApplication::processEvents();
    ASSERT_EQ(doc->factionColours.hueAngle(5), angle);
    // Each sheet's pixels of the second faction changed; everything else stayed.
    auto changedRows = [](const QImage& a, const QImage& b) {
        std::vector<int> rows;
        for (int y = 0; y < a.height(); ++y)
            if (std::memcmp(a.constScanLine(y), b.constScanLine(y), size_t(a.bytesPerLine())))
                rows.push_back(y);
        return rows;
    };
    const int s = sheets.hexSize();
    for (Sheet sheet : coloured) {
        const QImage& after = sheets[sheet].pixels();
        ASSERT_EQ(after.size(), before[sheet].size());
        const std::vector<int> rows = changedRows(before[sheet], after);
        EXPECT_FALSE(rows.empty()) << int(sheet);
        // Colour 2 (the second faction) is the third row block of these sheets, one block
        // of the territories and borderlines (which start at colour 1); the weapon icons put
        // the factions side by side, faction 1 in column block 1.
        auto block = [&](int y) {
            switch (sheet) {
                case Sheet::Building: return y / s % 21 / 3;
                case Sheet::Bridge: return y / s % 7;
                case Sheet::Territory: return y / s + 1;
                case Sheet::Border: return y / s / 5 + 1;
                default: return 2;
            }
        };
        for (int y : rows) EXPECT_EQ(block(y), 2) << int(sheet) << " " << y;
        if (sheet != Sheet::WeaponIcon) continue;
        for (int x = 0; x < after.width(); ++x) {
            bool differs = false;
            for (int y = 0; y < after.height() && !differs; ++y)
                differs = after.pixel(x, y) != before[sheet].pixel(x, y);
            EXPECT_TRUE(!differs || x / (7 * s) == 1) << x;
        }
    }
    EXPECT_EQ(sheets[Sheet::Base].pixels(), base);
}

TEST_F(UnderlayAndColours, BitmapExportAsksBeforeOverwriting) {
    const std::string path = dir.file("map.bmp");
    kvtest::writeFile(path, "kept");
    doc->viewSettings.hexSize = 32;
    std::vector<FileDialogRequest> requests;
    setFileDialogHook([&](FileDialogRequest& r) {
        requests.push_back(r);
        return path;
    });
    prompts.script = {PromptAnswer::No};
    frame->sendCommand(cmd::ExportBitmap);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙへの出力");
    ASSERT_EQ(prompts.seen.size(), 1u);
    EXPECT_EQ(prompts.seen[0].caption, "確認");
    EXPECT_EQ(kvtest::readFile(path), "kept");
    prompts.script = {PromptAnswer::Yes};
    frame->sendCommand(cmd::ExportBitmap);
    // 64 × 64 at size 32: 2064 × 1544 pixels of 16 bits, rows of 4128 bytes, after 58.
    const std::string bmp = kvtest::readFile(path);
    ASSERT_EQ(bmp.size(), 58u + 1544u * 4128u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
}

}  // namespace
}  // namespace kv
