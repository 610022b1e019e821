// The sprite sheets of the map view, made at the current hex size from the 48-pixel art:
// terrain, buildings and bridges in every owner colour, line pieces, marks, territories and
// borderlines, weapon-type icons, the unit icon pages of each faction and the custom icons
// of user-defined weapons.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/picture.h"
#include "view/sprite_image.h"

namespace kv {

class FactionColourTable;
class WeaponData;

enum class Sheet {
    Base,          // land48_base: picture n at (n % 10, n / 10); framed copy 4 rows down
    Building,      // 10 × 42: colour block k at row 3k; rows 21.. the destroyed copies
    Parts,         // land48_parts: part p at (p % 10, p / 10); framed copy 3 rows down
    Bridge,        // 9 × 14: row k pieces in colour k, row 7 + k destroyed
    TempBridge,    // 9 × 2: plain and framed
    Road,          // road, river and supply line pieces
    Mark,          // preview, label marker, outside the map, selection
    Effect,        // cell 5: destroyed
    Digit,         // not scaled: digits and occupancy marks
    LayerMark,     // not scaled: altitude-layer dots
    RegimentMark,  // not scaled: 16 × 12 regiment marks
    Territory,     // 1 × 7: territory colours 1..7
    Border,        // 5 × 35: 7 colour blocks of 5 rows
    WeaponIcon,    // 42 × 10: faction f's weapon-type icons at column 7f
    Count
};

enum class IconKind { WeaponType, Unit };

// Colour index of the building, bridge, territory and borderline sheets beyond the six
// factions: the special colour.
inline constexpr int kSpecialColour = 1000;

// The hue angle of a drawing colour: 1..6 are the factions' entries of the table.
int factionHue(const FactionColourTable& colours, int faction);
// A picture in the special colour: every pixel but the key turned to its grey.
Picture specialColoured(const Picture& picture);

class SpriteSheets {
public:
    static constexpr int kFactions = 6;
    static constexpr int kUnitPages = 99;

    // Rebuilds every sheet at `hexSize` (16, 32 or 48). The unit icon pages are loaded in
    // unit-icon mode at sizes above 16; custom icons for every user-defined weapon of
    // `weapons`. A missing file leaves its sheet empty (nothing is drawn from it) and is
    // listed in missingFiles(). `terrainOnly` makes only the sheets of ground, buildings,
    // bridges and line pieces (what the export draws). Asked again for the same size,
    // colours, mode and custom icons, it keeps what it has (the editor asks when it starts
    // and again when its first map opens).
    void build(int hexSize, const FactionColourTable& colours, bool unitIcons,
               const WeaponData& weapons, bool terrainOnly = false);
    // Whether build() with these inputs would make anything.
    bool needsBuild(int hexSize, const FactionColourTable& colours, bool unitIcons,
                    const WeaponData& weapons, bool terrainOnly = false) const;
    // Takes the sheets of `made` (a whole build at its size with `colours`, e.g. read from a
    // cache) and adds what a build makes besides them: the unit icon pages and custom icons.
    void adopt(SpriteSheets&& made, const FactionColourTable& colours, bool unitIcons,
               const WeaponData& weapons);
    // (Re)loads the custom icons of icon number `number` for every faction.
    void reloadCustomIcon(int number, const FactionColourTable& colours);

    int hexSize() const { return hexSize_; }
    const SpriteImage& operator[](Sheet sheet) const { return sheets_[size_t(sheet)]; }
    // Page 1..99 of faction 0..5, or null when there is none. A page is read and coloured
    // the first time it is asked for (most maps use a few of them); safe from any thread.
    const SpriteImage* unitPage(int faction, int page) const;
    // A column of six faction-coloured copies, or null when the icon is not loaded.
    const SpriteImage* customIcon(IconKind kind, int number) const;
    const std::vector<std::string>& missingFiles() const { return missing_; }
    // Files read for the sheets are listed here when missing (kept with cached sheets).
    void setMissingFiles(std::vector<std::string> names) { missing_ = std::move(names); }

    // The same sheets with 16-bit 5-5-5 pixels (for the bitmap export).
    SpriteSheets toRgb555() const;

    // The art files (of the bitmap folder) a build reads.
    static std::vector<std::string> artFiles(bool terrainOnly);
    // Sheets made from pictures kept elsewhere (one per Sheet, null for an empty sheet), as a
    // terrain-only build at `hexSize` made them.
    static SpriteSheets fromPictures(int hexSize,
                                     const std::array<Picture, size_t(Sheet::Count)>& pictures);
    // The same from sprites (e.g. read back from a cache), taken over.
    static SpriteSheets fromSprites(int hexSize,
                                    std::array<SpriteImage, size_t(Sheet::Count)>&& sprites);

private:
    // What a build depends on besides the art files.
    struct BuildKey {
        int hexSize = 0;
        bool unitIcons = false, terrainOnly = false;
        std::array<int, 7> hues{};
        std::vector<std::pair<IconKind, int>> customIcons;
        bool operator==(const BuildKey&) const = default;
    };
    BuildKey keyOf(int hexSize, const FactionColourTable& colours, bool unitIcons,
                   const WeaponData& weapons, bool terrainOnly) const;

    const Picture& source(const std::string& name, int kind);
    void buildTerrain(const FactionColourTable& colours, bool terrainOnly);
    void buildColoured(const FactionColourTable& colours, bool terrainOnly);
    void buildIcons(const FactionColourTable& colours);
    void loadIcons(const FactionColourTable& colours, bool unitIcons, const WeaponData& weapons);
    void loadCustomIcon(IconKind kind, int number, const FactionColourTable& colours);
    void set(Sheet sheet, const Picture& picture) { sheets_[size_t(sheet)] = SpriteImage(picture); }
    Picture scaled(const Picture& picture) const { return picture.scaledCells(48, hexSize_); }

    int hexSize_ = 0;
    std::array<SpriteImage, size_t(Sheet::Count)> sheets_;
    // The unit icon pages, made on first use.
    struct UnitPages {
        std::mutex mutex;
        bool enabled = false;
        int hexSize = 0;
        std::array<int, kFactions> hues{};
        std::array<std::optional<Picture>, kUnitPages + 1> art;  // as read (null: none)
        std::array<std::array<SpriteImage, kUnitPages + 1>, kFactions> pages;
        std::array<std::array<bool, kUnitPages + 1>, kFactions> made{};
    };
    std::unique_ptr<UnitPages> unitPages_ = std::make_unique<UnitPages>();
    std::map<std::pair<IconKind, int>, SpriteImage> customIcons_;
    std::map<std::string, Picture> sources_;  // the files as read, by name
    std::vector<std::string> missing_;
    std::optional<BuildKey> built_;
};

}  // namespace kv
