// The contact sheet of the map art.
#include "sampledata/art_contact.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

#include "document/faction_record.h"
#include "framework/cp932.h"
#include "gamedata/terrain.h"
#include "sampledata/art.h"
#include "sampledata/art_canvas.h"
#include "sampledata/art_map.h"
#include "sampledata/terrain_data.h"
#include "sampledata/weapon_data.h"

namespace kv::sample {

QImage shrinkKeyed(const QImage& picture, int size) {
    const QImage src = picture.convertToFormat(QImage::Format_RGB32);
    if (size == kCell) return src;
    const double k = static_cast<double>(kCell) / size;
    const int w = src.width() * size / kCell, h = src.height() * size / kCell;
    QImage out(w, h, QImage::Format_RGB32);
    for (int ty = 0; ty < h; ++ty) {
        const double y0 = ty * k, y1 = (ty + 1) * k;
        for (int tx = 0; tx < w; ++tx) {
            const double x0 = tx * k, x1 = (tx + 1) * k;
            double r = 0, g = 0, b = 0, inked = 0, all = 0;
            for (int sy = static_cast<int>(y0); sy < std::ceil(y1); ++sy) {
                const double wy = std::min(y1, sy + 1.0) - std::max(y0, double(sy));
                const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
                for (int sx = static_cast<int>(x0); sx < std::ceil(x1); ++sx) {
                    const double wgt = wy * (std::min(x1, sx + 1.0) - std::max(x0, double(sx)));
                    all += wgt;
                    const QRgb p = line[sx];
                    if ((p | 0xFF000000u) == kKey) continue;
                    r += qRed(p) * wgt;
                    g += qGreen(p) * wgt;
                    b += qBlue(p) * wgt;
                    inked += wgt;
                }
            }
            if (inked * 2 < all) {
                out.setPixel(tx, ty, kKey);
            } else {
                const QRgb c =
                    qRgb(static_cast<int>(r / inked + 0.5), static_cast<int>(g / inked + 0.5),
                         static_cast<int>(b / inked + 0.5));
                out.setPixel(tx, ty, c == kKey ? kNearKey : c);
            }
        }
    }
    return out;
}

namespace {

const QColor kPaper(236, 234, 228);
const QColor kInk(30, 30, 34);

QFont captionFont(int px, bool bold = false) {
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

// The art, either drawn now or read back from a program folder.
struct Art {
    std::map<std::string, QImage> files;
    const QImage& operator[](const std::string& path) const {
        static const QImage kNone;
        const auto it = files.find(path);
        return it != files.end() ? it->second : kNone;
    }
};

Art loadArt(const std::string& folder) {
    Art art;
    for (ArtFile& f : artFiles()) {
        if (folder.empty()) {
            art.files[f.path] = f.image.convertToFormat(QImage::Format_RGB32);
        } else {
            QImage read(QString::fromStdString(folder + "/" + f.path));
            art.files[f.path] = read.convertToFormat(QImage::Format_RGB32);
        }
    }
    return art;
}

// A column of pictures grows into a page section by section.
class Page {
public:
    explicit Page(int width) : width_(width) {}
    void add(const QImage& block) { blocks_.push_back(block); }
    QImage title(const QString& text, const QString& note) const {
        QImage block(width_, note.isEmpty() ? 40 : 58, QImage::Format_RGB32);
        block.fill(kPaper);
        QPainter p(&block);
        p.fillRect(QRect(0, 6, width_, 2), kInk);
        p.setPen(kInk);
        p.setFont(captionFont(20, true));
        p.drawText(QPoint(10, 32), text);
        if (!note.isEmpty()) {
            p.setFont(captionFont(12));
            p.drawText(QPoint(12, 50), note);
        }
        return block;
    }
    QImage compose() const {
        int height = 0;
        for (const QImage& b : blocks_) height += b.height();
        QImage page(width_, height, QImage::Format_RGB32);
        page.fill(kPaper);
        QPainter p(&page);
        int y = 0;
        for (const QImage& b : blocks_) {
            p.drawImage(0, y, b);
            y += b.height();
        }
        return page;
    }
    int width() const { return width_; }

private:
    int width_;
    std::vector<QImage> blocks_;
};

// Tiles of equal size laid out in rows.
class Grid {
public:
    Grid(int pageWidth, int tileWidth, int tileHeight, int count)
        : columns_(std::max(1, (pageWidth - 10) / tileWidth)), tw_(tileWidth), th_(tileHeight) {
        const int rows = (count + columns_ - 1) / columns_;
        image_ = QImage(pageWidth, rows * tileHeight + 8, QImage::Format_RGB32);
        image_.fill(kPaper);
    }
    QPoint origin(int index) const {
        return {10 + (index % columns_) * tw_, 4 + (index / columns_) * th_};
    }
    QImage& image() { return image_; }

private:
    int columns_, tw_, th_;
    QImage image_;
};

void caption(QImage& image, QPoint at, const QString& text, int px = 11) {
    QPainter p(&image);
    p.setPen(kInk);
    p.setFont(captionFont(px));
    p.drawText(at, text);
}

QImage cellOf(const QImage& sheet, int column, int row, int size = kCell) {
    return sheet.copy(column * size, row * size, size, size);
}

// Draws a keyed picture over a checked background so its transparent part shows.
void put(QImage& dest, QPoint at, const QImage& picture, bool checker = false) {
    if (checker) {
        QPainter p(&dest);
        for (int y = 0; y < picture.height(); y += 4) {
            for (int x = 0; x < picture.width(); x += 4) {
                const bool dark = ((x + y) / 4) % 2;
                p.fillRect(QRect(at.x() + x, at.y() + y, std::min(4, picture.width() - x),
                                 std::min(4, picture.height() - y)),
                           dark ? QColor(200, 200, 200) : QColor(244, 244, 244));
            }
        }
    }
    drawKeyedPart(dest, at.x(), at.y(), picture, picture.rect());
}

std::map<int, std::string> terrainNames(bool buildings) {
    std::map<int, std::string> names;
    for (const TerrainType& t : parseTerrainTable(terrainDataBytes())) {
        if (t.name[0] == '\0') continue;
        if ((static_cast<int>(t.category) > 10) != buildings) continue;
        std::string& n = names[t.defaultPicture];
        if (!n.empty()) n += "/";
        n += decodeCp932Lossy(t.name);
    }
    return names;
}

QImage terrainSection(const Art& art, int width) {
    const QImage& base = art["bmp/land48_base.bmp"];
    const auto names = terrainNames(false);
    Grid grid(width, 176, 80, base_picture::kCount);
    for (int n = 0; n < base_picture::kCount; ++n) {
        const QPoint o = grid.origin(n);
        const QImage cell = cellOf(base, n % 10, n / 10);
        put(grid.image(), o, cell, true);
        put(grid.image(), o + QPoint(50, 0), cellOf(base, n % 10, n / 10 + 4), true);
        put(grid.image(), o + QPoint(100, 8), shrinkKeyed(cell, 32), true);
        put(grid.image(), o + QPoint(134, 16), shrinkKeyed(cell, 16), true);
        const auto it = names.find(n);
        caption(grid.image(), o + QPoint(0, 62),
                QString("%1 %2").arg(n).arg(it != names.end() ? QString::fromStdString(it->second)
                                                              : QString()));
    }
    return grid.image();
}

QImage partsSection(const Art& art, int width) {
    const QImage& parts = art["bmp/land48_parts.bmp"];
    Grid grid(width, 104, 74, 23);
    for (int i = 0; i < 23; ++i) {
        const QPoint o = grid.origin(i);
        put(grid.image(), o, cellOf(parts, i % 10, i / 10), true);
        put(grid.image(), o + QPoint(50, 0), cellOf(parts, i % 10, i / 10 + 3), true);
        caption(grid.image(), o + QPoint(0, 62), QString::number(i < 9 ? 2000 + i : 991 + i));
    }
    // The two massifs put together, at the three sizes.
    static const QPoint kMember[7] = {{24, 0},  {72, 0},  {0, 36}, {48, 36},
                                      {96, 36}, {24, 72}, {72, 72}};
    QImage flowers(width, 140, QImage::Format_RGB32);
    flowers.fill(kPaper);
    int x = 10;
    for (int group = 0; group < 2; ++group) {
        for (int size : {48, 32, 16}) {
            for (int m = 0; m < 7; ++m) {
                const int index = 9 + group * 7 + m;
                const QImage cell = shrinkKeyed(cellOf(parts, index % 10, index / 10), size);
                put(flowers, QPoint(x + kMember[m].x() * size / 48, 6 + kMember[m].y() * size / 48),
                    cell);
            }
            x += 3 * size + 16;
        }
        x += 20;
    }
    QImage block(width, grid.image().height() + flowers.height(), QImage::Format_RGB32);
    QPainter p(&block);
    p.drawImage(0, 0, grid.image());
    p.drawImage(0, grid.image().height(), flowers);
    return block;
}

QImage buildingSection(const Art& art, const MapSheets& sheets, int width) {
    const auto names = terrainNames(true);
    Grid grid(width, 470, 80, building_picture::kCount);
    const QImage& effect = art["bmp/effect_48.bmp"];
    for (int n = 0; n < building_picture::kCount; ++n) {
        const QPoint o = grid.origin(n);
        for (int k = 0; k < 7; ++k) {
            put(grid.image(), o + QPoint(k * 50, 0), sheets.building(48, k, n, false), true);
        }
        QImage destroyed = sheets.building(48, 1, n, true);
        drawKeyedPart(destroyed, 0, 0, effect, QRect(5 * 48, 0, 48, 48));
        put(grid.image(), o + QPoint(350, 0), destroyed, true);
        put(grid.image(), o + QPoint(400, 8), sheets.building(32, 3, n, false), true);
        put(grid.image(), o + QPoint(434, 16), sheets.building(16, 2, n, false), true);
        const auto it = names.find(n);
        caption(grid.image(), o + QPoint(0, 62),
                QString("%1 %2").arg(n).arg(it != names.end() ? QString::fromStdString(it->second)
                                                              : QString()));
    }
    return grid.image();
}

QImage bridgeSection(const MapSheets& sheets, int width) {
    Grid grid(width, 470, 64, 2 * kBridgePieces);
    for (int piece = 0; piece < kBridgePieces; ++piece) {
        for (int destroyed = 0; destroyed < 2; ++destroyed) {
            const QPoint o = grid.origin(piece * 2 + destroyed);
            for (int k = 0; k < 7; ++k) {
                QImage cell = sheets.building(48, k, building_picture::kBridgeWater, destroyed);
                drawKeyedPart(cell, 0, 0, sheets.bridge(48, k, piece, destroyed),
                              QRect(0, 0, 48, 48));
                put(grid.image(), o + QPoint(k * 50, 0), cell, true);
            }
            QImage temp = sheets.base(48, 1, false);
            drawKeyedPart(temp, 0, 0, sheets.road(48, piece < 3 ? 0b010010 : 0b100100, 1),
                          QRect(0, 0, 48, 48));
            drawKeyedPart(temp, 0, 0, sheets.tempBridge(48, piece, destroyed), QRect(0, 0, 48, 48));
            put(grid.image(), o + QPoint(360, 0), temp, true);
            QImage small = shrinkKeyed(temp, 32);
            put(grid.image(), o + QPoint(412, 8), small, true);
            caption(grid.image(), o + QPoint(0, 60),
                    QString("piece %1%2")
                        .arg(piece)
                        .arg(destroyed ? "  destroyed / temporary framed" : ""),
                    10);
        }
    }
    return grid.image();
}

QImage lineSection(const MapSheets& sheets, int width) {
    static const char* const kKinds[5] = {"road", "river", "deep river", "frozen river",
                                          "sea supply line"};
    Grid grid(width, 52, 64, 5 * 64);
    for (int kind = 0; kind < 5; ++kind) {
        for (int k = 0; k < 64; ++k) {
            const QPoint o = grid.origin(kind * 64 + k);
            const int ground = kind == 4 ? 29 : kind == 3 ? 17 : 1;
            QImage cell = sheets.base(48, ground, false);
            if (k) drawKeyedPart(cell, 0, 0, sheets.road(48, k, kind), QRect(0, 0, 48, 48));
            put(grid.image(), o, cell, true);
            caption(grid.image(), o + QPoint(0, 60),
                    k == 0 ? QString(kKinds[kind]) : QString::number(k), 10);
        }
    }
    return grid.image();
}

QImage markSection(const Art& art, const MapSheets& sheets, int width) {
    QImage block(width, 420, QImage::Format_RGB32);
    block.fill(kPaper);
    const QImage& marks = art["bmp/markhex_48.bmp"];
    const QImage& effects = art["bmp/effect_48.bmp"];
    static const char* const kMarks[4] = {"0 preview", "1 label", "2 outside", "3 flash"};
    int x = 10;
    for (int i = 0; i < 4; ++i) {
        for (int size : {48, 32, 16}) {
            QImage ground = shrinkKeyed(sheets.base(48, 1, false), size);
            drawKeyedPart(ground, 0, 0, shrinkKeyed(cellOf(marks, i, 0), size),
                          QRect(0, 0, size, size));
            put(block, QPoint(x, 8), ground, true);
            x += size + 4;
        }
        caption(block, QPoint(x - 104, 72), kMarks[i], 10);
        x += 12;
    }
    for (int i = 0; i < 6; ++i) {
        QImage ground = sheets.building(48, 1, building_picture::kMediumCity, true);
        drawKeyedPart(ground, 0, 0, cellOf(effects, i, 0), QRect(0, 0, 48, 48));
        put(block, QPoint(x, 8), ground, true);
        caption(block, QPoint(x, 72), QString("effect %1").arg(i), 10);
        x += 56;
    }
    // Digits, layer dots and regiment marks, enlarged three times.
    const QImage digits = art["bmp/exnum.bmp"].scaled(300, 132);
    put(block, QPoint(10, 90), digits, true);
    put(block, QPoint(330, 90), art["bmp/maplayer.bmp"].scaled(120, 36), true);
    put(block, QPoint(470, 90), art["bmp/regmark.bmp"].scaled(288, 324), true);
    caption(block, QPoint(10, 240), "exnum.bmp x3, maplayer.bmp x4, regmark.bmp x3", 10);
    // Territory and borderlines of every colour.
    const QImage& territory = art["bmp/ecmcc48.bmp"];
    const QImage& border = art["bmp/border48.bmp"];
    x = 780;
    for (int t = 0; t < 7; ++t) {
        const int angle = t < 6 ? factionAngle(t) : 0;
        QImage cell = sheets.base(48, 6, false);
        drawKeyedPart(cell, 0, 0, recolouredKeyed(cellOf(territory, 0, t), angle),
                      QRect(0, 0, 48, 48));
        const QImage borders = recolouredKeyed(border.copy(0, t * 240, 240, 240), angle);
        for (int side = 0; side < 6; ++side) {
            const bool crossable = side % 2 == 0;
            const QRect r = side == 5 ? QRect(crossable ? 48 : 144, 192, 48, 48)
                                      : QRect(side * 48, crossable ? 48 : 144, 48, 48);
            drawKeyedPart(cell, 0, 0, borders, r);
        }
        put(block, QPoint(x + (t % 4) * 56, 90 + (t / 4) * 70), cell, true);
        caption(block, QPoint(x + (t % 4) * 56, 150 + (t / 4) * 70),
                t < 6 ? QString("faction %1").arg(t) : QString("(1000)"), 10);
    }
    caption(block, QPoint(780, 290), "territory and borders: sides 0, 2, 4 crossable, 1, 3, 5 not",
            10);
    return block;
}

QImage weaponIconSection(const MapSheets& sheets, int width) {
    Grid grid(width, 376, 66, 64);
    for (int o = 0; o < 64; ++o) {
        const QPoint at = grid.origin(o);
        for (int f = 0; f < 6; ++f) {
            QImage cell = sheets.base(48, 1, false);
            drawKeyedPart(cell, 0, 0, sheets.weaponIcon(48, f, o), QRect(0, 0, 48, 48));
            put(grid.image(), at + QPoint(f * 50, 0), cell, true);
        }
        put(grid.image(), at + QPoint(302, 8), sheets.weaponIcon(32, 0, o), true);
        put(grid.image(), at + QPoint(338, 16), sheets.weaponIcon(16, 0, o), true);
        caption(grid.image(), at + QPoint(0, 60), QString::number(o), 10);
    }
    return grid.image();
}

QImage unitSection(const Art& art, int width) {
    const auto& weapons = sampleWeapons();
    const QImage& page32 = art["munit/unit01_1.bmp"];
    const QImage& page48 = art["munit/unit01_2.bmp"];
    Grid grid(width, 360, 66, static_cast<int>(weapons.size()));
    for (size_t i = 0; i < weapons.size(); ++i) {
        const QPoint at = grid.origin(static_cast<int>(i));
        const QImage icon48 = cellOf(page48, static_cast<int>(i), 0);
        for (int f = 0; f < 3; ++f) {
            put(grid.image(), at + QPoint(f * 50, 0), recolouredKeyed(icon48, factionAngle(f * 2)),
                true);
        }
        put(grid.image(), at + QPoint(152, 8),
            recolouredKeyed(cellOf(page32, static_cast<int>(i), 0, 32), factionAngle(1)), true);
        char name[16];
        std::snprintf(name, sizeof name, "unit/%04d.bmp", weapons[i].id);
        put(grid.image(), at + QPoint(190, 4), art[name]);
        caption(
            grid.image(), at + QPoint(0, 60),
            QString("%1 %2").arg(101 + static_cast<int>(i)).arg(QString::fromUtf8(weapons[i].name)),
            10);
    }
    return grid.image();
}

// Each default faction under its colour word with its faction-coloured pictures at 48, 32
// and 16 pixels: capital, airport, bridge, weapon-type icon, unit icon (none at 16) and its
// territory behind a crossable and a closed borderline. The word and the colour must agree.
QImage factionSection(const Art& art, const MapSheets& sheets, int width) {
    constexpr int kTankPicture = 19, kTankUnitCell = 19;  // weapon type 19, unit icon 120
    const QImage& territory = art["bmp/ecmcc48.bmp"];
    const QImage& border = art["bmp/border48.bmp"];
    auto over = [](QImage ground, const QImage& top) {
        drawKeyedPart(ground, 0, 0, top, top.rect());
        return ground;
    };
    QImage block(width, 6 * 56 + 8, QImage::Format_RGB32);
    block.fill(kPaper);
    for (int f = 0; f < 6; ++f) {
        const int y = 8 + f * 56, angle = factionAngle(f), colour = f + 1;
        caption(
            block, QPoint(10, y + 18),
            QString("%1 %2").arg(f).arg(QString::fromStdString(std::string(factionColourName(f)))),
            12);
        const QImage borders = recolouredKeyed(border.copy(0, f * 240, 240, 240), angle);
        QImage land =
            over(sheets.base(48, 6, false), recolouredKeyed(cellOf(territory, 0, f), angle));
        drawKeyedPart(land, 0, 0, borders, QRect(0, 48, 48, 48));        // side 0, crossable
        drawKeyedPart(land, 0, 0, borders, QRect(3 * 48, 144, 48, 48));  // side 3, closed
        int x = 120;
        for (int size : {48, 32, 16}) {
            std::vector<QImage> row = {
                sheets.building(size, colour, building_picture::kCapital, false),
                sheets.building(size, colour, building_picture::kAirport, false),
                over(sheets.building(size, colour, building_picture::kBridgeWater, false),
                     sheets.bridge(size, colour, 0, false)),
                over(sheets.base(size, 1, false), sheets.weaponIcon(size, f, kTankPicture))};
            if (size > 16) {
                const QImage& page = art[size == 48 ? "munit/unit01_2.bmp" : "munit/unit01_1.bmp"];
                row.push_back(over(sheets.base(size, 1, false),
                                   recolouredKeyed(cellOf(page, kTankUnitCell, 0, size), angle)));
            }
            row.push_back(shrinkKeyed(land, size));
            for (const QImage& picture : row) {
                put(block, QPoint(x, y + (48 - size) / 2), picture, true);
                x += size + 4;
            }
            x += 30;
        }
    }
    return block;
}

QImage stripSection(const Art& art, int width) {
    QImage block(width, 150, QImage::Format_RGB32);
    block.fill(kPaper);
    put(block, QPoint(10, 8), art["bmp/hq1.bmp"].scaled(64 * 8, 16));
    put(block, QPoint(10, 28), art["bmp/hq2.bmp"].scaled(64 * 8, 16));
    put(block, QPoint(540, 8), art["bmp/hqc1.bmp"].scaled(56, 8));
    put(block, QPoint(540, 28), art["bmp/hqc2.bmp"].scaled(56, 8));
    caption(block, QPoint(10, 58),
            "hq1.bmp / hq2.bmp x8 (colour rows 0 and 1), hqc1.bmp / hqc2.bmp", 10);
    put(block, QPoint(10, 70), art["bmp/category.bmp"].scaled(192, 32), true);
    put(block, QPoint(220, 70), art["bmp/panel_btn.bmp"].scaled(432, 44), true);
    put(block, QPoint(670, 70), art["bmp/info_btn.bmp"].scaled(160, 40), true);
    caption(block, QPoint(10, 132), "category.bmp, panel_btn.bmp, info_btn.bmp x2", 10);
    return block;
}

QImage mapSection(const MapSheets& sheets, int width) {
    const TestMap map = sampleTestMap();
    std::vector<QImage> views;
    for (int size : {48, 32, 16}) views.push_back(renderTestMap(map, sheets, size, false));
    views.push_back(renderTestMap(map, sheets, 32, true));
    const int left = views[0].height() + views[3].height() + 40;
    const int right = views[1].height() + views[2].height() + 60;
    QImage block(width, std::max(left, right), QImage::Format_RGB32);
    block.fill(kPaper);
    QPainter p(&block);
    p.drawImage(10, 8, views[0]);
    p.drawImage(views[0].width() + 30, 8, views[1]);
    p.drawImage(views[0].width() + 30, views[1].height() + 20, views[2]);
    p.drawImage(10, views[0].height() + 20, views[3]);
    p.end();
    caption(block, QPoint(views[0].width() + 30, views[1].height() + views[2].height() + 40),
            "48, 32, 16 pixels; below: 32 pixels with the hex frame", 11);
    return block;
}

}  // namespace

QImage contactSheet(const std::string& programFolder) {
    const Art art = loadArt(programFolder);
    const MapSheets sheets(art.files);
    Page page(1920);
    page.add(page.title("Map art contact sheet",
                        "Every picture at 48, 32 and 16 pixels; faction colours by the default "
                        "colour table (slots 0-5); magenta shows as a grey check."));
    page.add(
        page.title("Test map", "A 14 x 11 map laid out cell by cell as the map view places them."));
    page.add(mapSection(sheets, page.width()));
    page.add(page.title("Faction colours",
                        "each faction's colour word and its pictures at 48, 32 and 16 pixels"));
    page.add(factionSection(art, sheets, page.width()));
    page.add(page.title("Base sheet (land48_base.bmp)", "plain, framed, 32, 16"));
    page.add(terrainSection(art, page.width()));
    page.add(
        page.title("Parts sheet (land48_parts.bmp)", "joined 2000-2008 and the massifs 1000-1013"));
    page.add(partsSection(art, page.width()));
    page.add(page.title(
        "Building sheet (land48_build.bmp)",
        "neutral, faction 0-5, destroyed (with effect 5), faction 2 at 32, faction 1 at 16"));
    page.add(buildingSection(art, sheets, page.width()));
    page.add(page.title("Bridges (bridge48.bmp)",
                        "over the bridge ground: neutral, factions 0-5; temporary bridge over a "
                        "river at 48 and 32"));
    page.add(bridgeSection(sheets, page.width()));
    page.add(page.title("Line pieces (road_48.bmp)", "every link set of each kind"));
    page.add(lineSection(sheets, page.width()));
    page.add(page.title("Marks, effects, digits, layers, regiments, territories, borders", ""));
    page.add(markSection(art, sheets, page.width()));
    page.add(
        page.title("Weapon-type icons (unit48.bmp)", "factions 0-5 at 48, faction 0 at 32 and 16"));
    page.add(weaponIconSection(sheets, page.width()));
    page.add(page.title("Unit icons (munit/unit01_2.bmp, unit01_1.bmp) and unit pictures (unit/)",
                        "factions 0, 2, 4 at 48, faction 1 at 32, the picture"));
    page.add(unitSection(art, page.width()));
    page.add(page.title("Overview strips and interface bitmaps", ""));
    page.add(stripSection(art, page.width()));
    return page.compose();
}

std::string writeContactSheet(const std::string& pngPath, const std::string& programFolder) {
    const QImage sheet = contactSheet(programFolder);
    if (!sheet.save(QString::fromStdString(pngPath), "PNG")) return pngPath + ": cannot write";
    return {};
}

}  // namespace kv::sample
