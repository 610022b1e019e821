// Making the sprite sheets: reading the 48-pixel art once, colouring it per owner, and
// scaling it to the hex size.
#include "view/sprite_sheets.h"

#include <QImage>

#include <cstdio>
#include <cstring>

#include "framework/data_paths.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/faction_colours.h"
#include "gamedata/weapons.h"

namespace kv {

namespace {

constexpr int kArt = 48;  // cell size of the art files
constexpr int kColours = 7;

// A picture of w × h pixels, all transparent.
Picture blank(int w, int h) {
    QImage image(w > 0 ? w : 1, h > 0 ? h : 1, QImage::Format_RGB32);
    image.fill(0xFF000000u | kColourKey);
    return Picture(image);
}

// Copies all of `src` to (x, y) of `dst`, clipped.
void paste(Picture& dst, int x, int y, const Picture& src) {
    if (src.isNull() || dst.isNull()) return;
    for (int sy = 0; sy < src.height(); ++sy) {
        const int ty = y + sy;
        if (ty < 0 || ty >= dst.height()) continue;
        const int left = std::max(0, -x), right = std::min(src.width(), dst.width() - x);
        if (left >= right) continue;
        std::memcpy(dst.image().scanLine(ty) + 4 * (x + left),
                    src.image().constScanLine(sy) + 4 * left,
                    4 * static_cast<size_t>(right - left));
    }
}

// The `cols` × `rows` cells of `src` from cell (firstCol, firstRow); transparent where the
// art is smaller than that.
Picture cells(const Picture& src, int firstCol, int firstRow, int cols, int rows) {
    if (src.isNull()) return {};
    Picture out = blank(cols * kArt, rows * kArt);
    paste(out, -firstCol * kArt, -firstRow * kArt, src);
    return out;
}

std::string pageName(int page, int suffix) {
    char name[32];
    std::snprintf(name, sizeof name, "unit%02d_%d.bmp", page, suffix);
    return name;
}

// A page of 32-pixel icons placed centred in 48-pixel cells.
Picture widenedPage(const Picture& page32) {
    const int count = page32.width() / 32;
    Picture out = blank(count * kArt, kArt);
    for (int i = 0; i < count; ++i) paste(out, i * kArt + 8, 8, page32.cut(cellRect(i, 0, 32)));
    return out;
}

Picture tryLoad(const std::string& path) {
    if (!fileExists(path)) return {};
    try {
        Picture p;
        p.loadFile(path);
        return p;
    } catch (const swCError&) {
        return {};
    }
}

}  // namespace

int factionHue(const FactionColourTable& colours, int colour) {
    return colours.hueAngle(FactionColourTable::factionEntry(colour - 1));
}

Picture specialColoured(const Picture& picture) {
    Picture out = picture;
    QImage& image = out.image();
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        QRgb* p = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if ((p[x] & 0xFFFFFF) == kColourKey) continue;
            const int grey = (qRed(p[x]) * 11 + qGreen(p[x]) * 16 + qBlue(p[x]) * 5) / 32;
            p[x] = qRgb(grey, grey, grey);
        }
    }
    return out;
}

const Picture& SpriteSheets::source(const std::string& name, int kind) {
    auto it = sources_.find(name);
    if (it != sources_.end()) return it->second;
    Picture p = tryLoad(dataPath(name, static_cast<DataKind>(kind)));
    if (p.isNull()) missing_.push_back(name);
    return sources_.emplace(name, std::move(p)).first->second;
}

SpriteSheets::BuildKey SpriteSheets::keyOf(int hexSize, const FactionColourTable& colours,
                                           bool unitIcons, const WeaponData& weapons,
                                           bool terrainOnly) const {
    BuildKey key;
    key.hexSize = hexSize;
    key.unitIcons = unitIcons;
    key.terrainOnly = terrainOnly;
    for (int k = 0; k < kColours; ++k) key.hues[size_t(k)] = factionHue(colours, k);
    if (terrainOnly) return key;
    for (int table = 0; table < 2; ++table) {
        for (const WeaponRecord& w : weapons.userWeapons(table)) {
            if (w.typeIcon(hexSize) >= 20000)
                key.customIcons.emplace_back(IconKind::WeaponType, w.typeIcon(hexSize));
            if (w.unitIcon(hexSize) >= 20000)
                key.customIcons.emplace_back(IconKind::Unit, w.unitIcon(hexSize));
        }
    }
    return key;
}

namespace {

int validHexSize(int hexSize) {
    return hexSize == 16 || hexSize == 48 ? hexSize : 32;
}

}  // namespace

bool SpriteSheets::needsBuild(int hexSize, const FactionColourTable& colours, bool unitIcons,
                              const WeaponData& weapons, bool terrainOnly) const {
    return !built_ ||
           *built_ != keyOf(validHexSize(hexSize), colours, unitIcons, weapons, terrainOnly);
}

void SpriteSheets::build(int hexSize, const FactionColourTable& colours, bool unitIcons,
                         const WeaponData& weapons, bool terrainOnly) {
    hexSize = validHexSize(hexSize);
    BuildKey key = keyOf(hexSize, colours, unitIcons, weapons, terrainOnly);
    if (built_ && *built_ == key) return;
    built_.reset();
    hexSize_ = hexSize;
    buildTerrain(colours, terrainOnly);
    buildColoured(colours, terrainOnly);
    if (!terrainOnly) {
        buildIcons(colours);
        loadIcons(colours, unitIcons, weapons);
    }
    built_ = std::move(key);
}

void SpriteSheets::adopt(SpriteSheets&& made, const FactionColourTable& colours, bool unitIcons,
                         const WeaponData& weapons) {
    built_.reset();
    hexSize_ = validHexSize(made.hexSize_);
    sheets_ = std::move(made.sheets_);
    missing_ = std::move(made.missing_);
    sources_.clear();
    loadIcons(colours, unitIcons, weapons);
    built_ = keyOf(hexSize_, colours, unitIcons, weapons, false);
}

std::vector<std::string> SpriteSheets::artFiles(bool terrainOnly) {
    std::vector<std::string> files = {"land48_base.bmp", "land48_parts.bmp", "road_48.bmp",
                                      "bridge48.bmp", "land48_build.bmp"};
    if (terrainOnly) return files;
    for (const char* name : {"markhex_48.bmp", "effect_48.bmp", "exnum.bmp", "maplayer.bmp",
                             "regmark.bmp", "ecmcc48.bmp", "border48.bmp", "unit48.bmp"})
        files.emplace_back(name);
    return files;
}

SpriteSheets SpriteSheets::fromPictures(int hexSize,
                                        const std::array<Picture, size_t(Sheet::Count)>& pictures) {
    SpriteSheets out;
    out.hexSize_ = hexSize;
    for (size_t i = 0; i < pictures.size(); ++i) out.sheets_[i] = SpriteImage(pictures[i]);
    return out;
}

SpriteSheets SpriteSheets::fromSprites(int hexSize,
                                       std::array<SpriteImage, size_t(Sheet::Count)>&& sprites) {
    SpriteSheets out;
    out.hexSize_ = hexSize;
    out.sheets_ = std::move(sprites);
    return out;
}

void SpriteSheets::buildTerrain(const FactionColourTable&, bool terrainOnly) {
    const int bmp = static_cast<int>(DataKind::Bmp);
    set(Sheet::Base, scaled(source("land48_base.bmp", bmp)));
    set(Sheet::Parts, scaled(source("land48_parts.bmp", bmp)));
    set(Sheet::Road, scaled(source("road_48.bmp", bmp)));
    set(Sheet::TempBridge, scaled(cells(source("bridge48.bmp", bmp), 0, 4, 9, 2)));
    for (Sheet sheet :
         {Sheet::Mark, Sheet::Effect, Sheet::Digit, Sheet::LayerMark, Sheet::RegimentMark})
        sheets_[size_t(sheet)] = {};
    if (terrainOnly) return;  // the export draws none of the marks
    set(Sheet::Mark, scaled(source("markhex_48.bmp", bmp)));
    set(Sheet::Effect, scaled(source("effect_48.bmp", bmp)));
    set(Sheet::Digit, source("exnum.bmp", bmp));
    set(Sheet::LayerMark, source("maplayer.bmp", bmp));
    set(Sheet::RegimentMark, source("regmark.bmp", bmp));
}

void SpriteSheets::buildColoured(const FactionColourTable& colours, bool terrainOnly) {
    const int bmp = static_cast<int>(DataKind::Bmp);
    // Buildings: the plain rows with each colour's coloured parts keyed over them, and the
    // whole repeated below for destroyed buildings.
    const Picture& build = source("land48_build.bmp", bmp);
    if (!build.isNull()) {
        Picture sheet = blank(10 * kArt, 6 * kColours * kArt);
        const Picture plain = cells(build, 0, 0, 10, 3);
        const Picture parts = cells(build, 0, 3, 10, 3);
        for (int k = 0; k < kColours; ++k) {
            paste(sheet, 0, 3 * k * kArt, plain);
            if (k > 0)
                drawKeyed(sheet.image(), 0, 3 * k * kArt, parts.recoloured(factionHue(colours, k)),
                          Rect{0, 0, parts.width(), parts.height()});
        }
        paste(sheet, 0, 3 * kColours * kArt, sheet.cut({0, 0, 10 * kArt, 3 * kColours * kArt}));
        set(Sheet::Building, scaled(sheet));
    } else {
        set(Sheet::Building, {});
    }
    // Bridges: row k in colour k, row 7 + k destroyed.
    const Picture& bridge = source("bridge48.bmp", bmp);
    if (!bridge.isNull()) {
        Picture sheet = blank(9 * kArt, 2 * kColours * kArt);
        for (int k = 0; k < kColours; ++k) {
            const int hue = factionHue(colours, k);
            const Picture whole = cells(bridge, 0, k == 0 ? 0 : 1, 9, 1);
            const Picture broken = cells(bridge, 0, k == 0 ? 2 : 3, 9, 1);
            paste(sheet, 0, k * kArt, k == 0 ? whole : whole.recoloured(hue));
            paste(sheet, 0, (kColours + k) * kArt, k == 0 ? broken : broken.recoloured(hue));
        }
        set(Sheet::Bridge, scaled(sheet));
    } else {
        set(Sheet::Bridge, {});
    }
    if (terrainOnly) return;
    // Territories and borderlines: colours 1..6 the factions, 7 the special colour.
    const Picture& territory = source("ecmcc48.bmp", bmp);
    const Picture& border = source("border48.bmp", bmp);
    Picture territorySheet = territory.isNull() ? Picture() : blank(kArt, kColours * kArt);
    Picture borderSheet = border.isNull() ? Picture() : blank(5 * kArt, 5 * kColours * kArt);
    for (int t = 0; t < kColours; ++t) {
        auto colour = [&](const Picture& p) {
            return t < 6 ? p.recoloured(factionHue(colours, t + 1)) : specialColoured(p);
        };
        if (!territory.isNull())
            paste(territorySheet, 0, t * kArt, colour(cells(territory, 0, t, 1, 1)));
        if (!border.isNull())
            paste(borderSheet, 0, 5 * t * kArt, colour(cells(border, 0, 5 * t, 5, 5)));
    }
    set(Sheet::Territory, scaled(territorySheet));
    set(Sheet::Border, scaled(borderSheet));
}

void SpriteSheets::buildIcons(const FactionColourTable& colours) {
    const Picture& icons = source("unit48.bmp", static_cast<int>(DataKind::Bmp));
    if (!icons.isNull()) {
        const int s = hexSize_;
        Picture sheet = blank(7 * kFactions * s, 10 * s);
        for (int f = 0; f < kFactions; ++f) {
            const Picture block =
                cells(icons, 7 * f, 0, 7, 10).recoloured(factionHue(colours, f + 1));
            paste(sheet, 7 * s * f, 0, scaled(block));
        }
        set(Sheet::WeaponIcon, sheet);
    } else {
        set(Sheet::WeaponIcon, {});
    }
}

void SpriteSheets::loadIcons(const FactionColourTable& colours, bool unitIcons,
                             const WeaponData& weapons) {
    // Pages are read when first drawn; what was read for other inputs is dropped.
    unitPages_ = std::make_unique<UnitPages>();
    unitPages_->enabled = unitIcons && hexSize_ > 16;
    unitPages_->hexSize = hexSize_;
    for (int f = 0; f < kFactions; ++f) unitPages_->hues[size_t(f)] = factionHue(colours, f + 1);
    customIcons_.clear();
    for (int table = 0; table < 2; ++table) {
        for (const WeaponRecord& w : weapons.userWeapons(table)) {
            if (w.typeIcon(hexSize_) >= 20000)
                loadCustomIcon(IconKind::WeaponType, w.typeIcon(hexSize_), colours);
            if (w.unitIcon(hexSize_) >= 20000)
                loadCustomIcon(IconKind::Unit, w.unitIcon(hexSize_), colours);
        }
    }
}

void SpriteSheets::loadCustomIcon(IconKind kind, int number, const FactionColourTable& colours) {
    const std::string name = kind == IconKind::WeaponType
                                 ? typeIconFile(number, hexSize_, UserForm::T)
                                 : smallIconFile(number, hexSize_, UserForm::T);
    if (name.empty()) return;
    const Picture art = tryLoad(dataPath(name, DataKind::Unit));
    if (art.isNull()) return;
    const int s = hexSize_;
    Picture icon = blank(s, s);
    paste(icon, 0, 0, art);
    Picture column = blank(s, kFactions * s);
    for (int f = 0; f < kFactions; ++f)
        paste(column, 0, f * s, icon.recoloured(factionHue(colours, f + 1)));
    customIcons_[{kind, number}] = SpriteImage(column);
}

void SpriteSheets::reloadCustomIcon(int number, const FactionColourTable& colours) {
    if (hexSize_ == 0) return;
    customIcons_.erase({IconKind::WeaponType, number});
    customIcons_.erase({IconKind::Unit, number});
    loadCustomIcon(IconKind::WeaponType, number, colours);
    loadCustomIcon(IconKind::Unit, number, colours);
}

const SpriteImage* SpriteSheets::unitPage(int faction, int page) const {
    if (faction < 0 || faction >= kFactions || page < 1 || page > kUnitPages || !unitPages_)
        return nullptr;  // (a moved-from set has no pages)
    UnitPages& u = *unitPages_;
    std::lock_guard<std::mutex> lock(u.mutex);
    if (!u.enabled) return nullptr;
    SpriteImage& p = u.pages[size_t(faction)][size_t(page)];
    bool& made = u.made[size_t(faction)][size_t(page)];
    if (!made) {
        made = true;
        std::optional<Picture>& art = u.art[size_t(page)];
        if (!art) {
            Picture read;
            if (u.hexSize == 48) read = tryLoad(dataPath(pageName(page, 2), DataKind::MUnit));
            if (read.isNull()) {
                read = tryLoad(dataPath(pageName(page, 1), DataKind::MUnit));
                if (!read.isNull() && u.hexSize == 48) read = widenedPage(read);
            }
            art = std::move(read);
        }
        if (!art->isNull()) p = SpriteImage(art->recoloured(u.hues[size_t(faction)]));
    }
    return p.isNull() ? nullptr : &p;
}

const SpriteImage* SpriteSheets::customIcon(IconKind kind, int number) const {
    auto it = customIcons_.find({kind, number});
    return it == customIcons_.end() ? nullptr : &it->second;
}

SpriteSheets SpriteSheets::toRgb555() const {
    SpriteSheets out;
    out.hexSize_ = hexSize_;
    for (size_t i = 0; i < sheets_.size(); ++i) out.sheets_[i] = sheets_[i].toRgb555();
    out.missing_ = missing_;
    return out;
}

}  // namespace kv
