// The label pass: terrain and victory-condition labels, the names of troops with victory
// conditions and the transport targets, drawn over the map picture and kept inside the map.
#include <QPainter>
#include <QString>

#include <algorithm>

#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/faction_colours.h"
#include "framework/picture.h"
#include "view/map_renderer.h"

namespace kv {

namespace {

constexpr int kLabelHeight = 14;
constexpr int kCharWidth = 7;  // pixels per byte of label text
constexpr QRgb kShadow = 0xFF202020u, kWhite = 0xFFFFFFFFu;
// The colour text is drawn in before the faction's hue is applied (the blue of the faction
// art, so the default angles give each faction the colour it is named after), and the
// colour of labels that belong to no faction.
constexpr QRgb kBaseTextColour = 0xFF4080FFu, kNeutralTextColour = 0xFFD8D8D8u;
constexpr int kTransportTargetShift = 4;  // hex mark bits 4..9
// Label pictures kept at most; the cache starts afresh beyond.
constexpr size_t kMaxLabelSprites = 4096;

enum LabelType { kPlainLabel = 0, kTroopLabel = 1, kTransportLabel = 2 };

struct PendingLabel {
    int col, x, y, type, colour;
    std::string name;  // CP932
};

std::string cp932(const char* utf8) {
    return encodeCp932(utf8).value_or(std::string());
}

QString text(const std::string& bytes) {
    return QString::fromStdString(decodeCp932Lossy(bytes));
}

}  // namespace

void MapRenderer::drawLabelsOfRows(int firstRow, int lastRow) {
    const HexDrawOptions options = HexDrawOptions::of(doc_);
    if (!options.terrainLabels && !options.victoryLabels) return;
    const HexPixels g = pixels();
    const HexPos extent = g.drawnExtent(clientWidth_, clientHeight_);
    std::vector<PendingLabel> labels;
    for (int row = std::max(firstRow, 0); row <= std::min(lastRow, doc_.height() - 1); ++row) {
        for (int j = -1; j < extent.col; ++j) {
            const int col = origin_.col + j;
            if (!doc_.contains(col, row)) continue;
            const PixelPos p = g.hexToPixel({col, row}, origin_);
            if (const TerrainLabel* label = hexLabel(doc_, col, row)) {
                if (label->kind == 0 ? options.terrainLabels : options.victoryLabels)
                    labels.push_back({col, p.x, p.y, kPlainLabel, 0, label->textString()});
            }
            if (!options.victoryLabels) continue;
            const HexTroops troops = troopsAt(doc_, col, row, options);
            for (auto t = troops.rbegin(); t != troops.rend(); ++t) {
                if (t->table < 0) continue;
                const TroopRecord& troop = *doc_.troopAt(t->table, t->slot);
                if (victoryFlags(troop) == 0) continue;
                const int owner = t->table % TroopTable::kSecondSet;
                labels.push_back(
                    {col, p.x, p.y, kTroopLabel, owner < 6 ? owner + 1 : 0, troop.name()});
            }
            const uint32_t marks =
                doc_.mapGrid.hexMarks[size_t(col) + size_t(row) * size_t(doc_.width())];
            for (int i = 0; i < 6; ++i)
                if (marks >> (kTransportTargetShift + i) & 1)
                    labels.push_back({col, p.x, p.y, kTransportLabel, i + 1, {}});
        }
    }
    for (const PendingLabel& l : labels) drawLabel(l.col, l.x, l.y, l.type, l.name, l.colour);
}

void MapRenderer::drawLabel(int col, int x, int y, int type, const std::string& name, int colour) {
    static const std::string space = cp932("　");
    static const std::string star = cp932("★");
    static const std::string square = cp932("■");
    static const std::string transport = cp932("輸送目標");
    std::string plain = name, coloured;
    if (type == kTroopLabel) {
        plain = space + name + space;
        coloured = star + name + star;
    } else if (type == kTransportLabel) {
        plain = space + transport + space;
        coloured = square + transport + square;
    }
    const int s = pixels().size();
    const int w = kCharWidth * static_cast<int>(plain.size());
    const int left = labelLeft(x, col, doc_.width(), s, w);
    const int top = y + s / 2 - kLabelHeight / 2;
    const std::string key = std::to_string(type) + ':' + std::to_string(colour) + ':' + name;
    auto it = labelSprites_.find(key);
    if (it == labelSprites_.end()) {
        if (labelSprites_.size() >= kMaxLabelSprites) labelSprites_.clear();
        it = labelSprites_.emplace(key, labelSprite(plain, coloured, colour, w)).first;
    }
    const SpriteImage& sprite = it->second;
    DrawSurface target = DrawSurface::of(mapImage_);
    const Rect r = sprite.drawTo(target, left - 1, top - 1, {0, 0, sprite.width(), sprite.height()},
                                 clientRect());
    if (r.width() > 0 && r.height() > 0) dirtyRects_.push_back(r);
}

// The label's text drawn once: the plain text's dark shadow one pixel down-right and
// up-left, the coloured frame text, then the plain text in white, on the colour key.
SpriteImage MapRenderer::labelSprite(const std::string& plain, const std::string& coloured,
                                     int colour, int width) const {
    QImage image(width + 2, kLabelHeight + 2, QImage::Format_RGB32);
    image.fill(0xFF000000u | kColourKey);
    {
        QPainter p(&image);
        p.setFont(labelFont_);
        p.setBackgroundMode(Qt::TransparentMode);
        const QString t = text(plain);
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip;
        p.setPen(QColor::fromRgb(kShadow));
        p.drawText(QRect(2, 2, width, kLabelHeight), flags, t);
        p.drawText(QRect(0, 0, width, kLabelHeight), flags, t);
        if (!coloured.empty()) {
            const QRgb c = colour >= 1 && colour <= 6
                               ? 0xFF000000u | rotateHue(kBaseTextColour, factionHueOf(colour))
                               : kNeutralTextColour;
            p.setPen(QColor::fromRgb(c));
            p.drawText(QRect(1, 1, width, kLabelHeight), flags, text(coloured));
        }
        p.setPen(QColor::fromRgb(kWhite));
        p.drawText(QRect(1, 1, width, kLabelHeight), flags, t);
    }
    return SpriteImage(Picture(image));
}

int MapRenderer::factionHueOf(int colour) const {
    return factionHue(doc_.factionColours, colour);
}

}  // namespace kv
