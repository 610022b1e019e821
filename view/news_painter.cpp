// Drawing the newspaper pages of the briefing and ending previews.
#include "view/news_painter.h"

#include <QPainter>

#include <algorithm>

#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/errors.h"
#include "framework/font.h"
#include "framework/picture.h"

namespace kv {

namespace {

constexpr QRgb kShadow = qRgb(222, 222, 222);
constexpr int kLineHeight = 24;

QImage optionalPicture(std::string_view name) {
    try {
        return loadPicture(name).image();
    } catch (const swCError&) {
        return {};
    }
}

}  // namespace

NewsFonts::NewsFonts()
    : headline(createFont(48, 400)),
      smallHeadline(createFont(28, 400)),
      subHeadline(createFont(24, 400)),
      caption(createFont(18, 700)),
      body(createFont(16, 400)) {}

NewsArt NewsArt::load() {
    return {optionalPicture("news.bmp"), optionalPicture("news2.bmp")};
}

void drawNewsPaper(QPainter& p, const NewsArt& art) {
    p.fillRect(QRect(0, 0, kNewsWidth, kNewsHeight), Qt::white);
    if (!art.background.isNull()) p.drawImage(0, 0, art.background);
    if (!art.banner.isNull()) p.drawImage(16, 12, art.banner);
}

void drawHeadline(QPainter& p, const QFont& font, const QString& text, const QRect& box,
                  int shadowOffset) {
    p.setFont(font);
    p.setPen(QColor(kShadow));
    p.drawText(box.translated(shadowOffset, shadowOffset), Qt::AlignCenter | Qt::TextSingleLine,
               text);
    p.setPen(Qt::black);
    p.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, text);
}

void drawLines(QPainter& p, const QFont& font, std::span<const std::string> lines, int x, int y,
               int width) {
    p.setFont(font);
    p.setPen(Qt::black);
    const int h = QFontMetrics(font).height();
    for (size_t k = 0; k < lines.size(); ++k) {
        const QRect box(x, y + kLineHeight * static_cast<int>(k), width, h);
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                   QString::fromStdString(decodeCp932Lossy(lines[k])));
    }
}

QRect fitPicture(QSize size, const QRect& box) {
    if (size.isEmpty()) return {};
    QSize shown = size;
    if (size.width() > box.width() || size.height() > box.height())
        shown = size.scaled(box.size(), Qt::KeepAspectRatio);
    shown = shown.expandedTo(QSize(1, 1));
    return {box.x() + (box.width() - shown.width()) / 2,
            box.y() + (box.height() - shown.height()) / 2, shown.width(), shown.height()};
}

QImage decodePicture(std::span<const uint8_t> bitmapFile) {
    if (bitmapFile.empty()) return {};
    try {
        Picture picture;
        picture.fromMemory(bitmapFile);
        return picture.image();
    } catch (const swCError&) {
        return {};
    }
}

QImage decodePictureFile(const std::string& path) {
    try {
        Picture picture;
        picture.loadFile(path);
        return picture.image();
    } catch (const swCError&) {
        return {};
    }
}

HeadlinePlace placeEndingHeadline(int width48, int height48, int width28, int height28) {
    constexpr int kBand = 528, kLeft = 57, kTop = 20, kRoom = 48;
    HeadlinePlace place;
    place.small = width48 > kBand;
    const int w = place.small ? width28 : width48;
    const int h = place.small ? height28 : height48;
    // Wider than the band, the text moves left by half of the excess: the same centring.
    place.x = kLeft + (kBand - w) / 2;
    place.y = kTop + (kRoom - h) / 2;
    return place;
}

// --- MapOverview --------------------------------------------------------------------------

MapOverview::MapOverview(const MapDocument& doc) {
    const int w = doc.width(), h = doc.height();
    if (w <= 0 || h <= 0) return;
    step_ = (w > 128 || h > 128) ? 2 : 1;
    square_ = (w > 64 || h > 64) ? 1 : 2;
    const int cols = (w + step_ - 1) / step_, rows = (h + step_ - 1) / step_;
    image_ = QImage(cols * square_, rows * square_, QImage::Format_RGB32);
    if (image_.isNull()) return;
    image_.fill(Qt::black);
    const QImage strip = optionalPicture(square_ == 2 ? "hq2.bmp" : "hq1.bmp");
    const QImage owners = optionalPicture(square_ == 2 ? "hqc2.bmp" : "hqc1.bmp");
    const std::vector<TerrainType>& types = doc.gameDatabase.terrainTypes();
    auto isBuilding = [&](const HexCell* c) {
        return c && c->terrain < types.size() && static_cast<int>(types[c->terrain].category) >= 12;
    };
    QPainter p(&image_);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const HexCell* cell = doc.cellAt(c * step_, r * step_);
            // In a 2 × 2 block a building among the other three hexes wins.
            for (int k = 1; step_ == 2 && !isBuilding(cell) && k < 4; ++k) {
                const HexCell* other = doc.cellAt(c * 2 + k % 2, r * 2 + k / 2);
                if (isBuilding(other)) cell = other;
            }
            if (!cell) continue;
            QPoint from;
            const QImage* source = &strip;
            if (isBuilding(cell)) {
                source = &owners;
                const int owner = cell->owner >= 1 && cell->owner <= 6 ? cell->owner - 1 : 6;
                from = QPoint(owner * square_, 0);
            } else if (cell->terrain < types.size()) {
                from = QPoint(types[cell->terrain].overviewColour * square_, 0);
            }
            const QRect piece(from, QSize(square_, square_));
            if (!source->isNull() && source->rect().contains(piece))
                p.drawImage(QPoint(c * square_, r * square_), *source, piece);
        }
    }
    for (const TerrainLabel& l : doc.mapGrid.labels) {
        if (!l.inUse() || (l.kind != 1 && l.value != 1)) continue;
        if (l.col >= w || l.row >= h) continue;
        const int x = std::clamp(l.col / step_ * square_ - 2, 0, std::max(0, image_.width() - 4));
        const int y = std::clamp(l.row / step_ * square_ - 2, 0, std::max(0, image_.height() - 4));
        markers_.emplace_back(x, y);
    }
    p.setPen(Qt::NoPen);
    for (const QPoint& m : markers_) p.fillRect(QRect(m, QSize(4, 4)), Qt::white);
}

void MapOverview::draw(QPainter& p, QPoint origin) const {
    if (!image_.isNull()) p.drawImage(origin, image_);
}

void MapOverview::drawPulse(QPainter& p, QPoint origin, int tick) const {
    const int level = pulseLevel(tick);
    const QRect area(origin, image_.size());
    p.save();
    p.setClipRect(area);
    for (const QPoint& m : markers_)
        p.fillRect(QRect(origin + m, QSize(5, 5)).intersected(area), QColor(level, level, level));
    p.restore();
}

int MapOverview::pulseLevel(int tick) {
    const int a = ((tick % 25) + 25) % 25;
    const int level = a <= 12 ? (51 - 3 * a) * 5 : (3 * a - 21) * 5;
    return level % 256;
}

}  // namespace kv
