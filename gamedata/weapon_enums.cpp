// Name lists of the weapon and armament data and the cargo slot parser.
#include "gamedata/weapon_enums.h"

#include <optional>

#include "framework/cp932.h"

namespace kv {

NameList::NameList(std::vector<std::string> utf8) : utf8_(std::move(utf8)) {
    cp932_.reserve(utf8_.size());
    // A name without a CP932 form stays empty and never matches anything.
    for (const std::string& name : utf8_) cp932_.push_back(encodeCp932(name).value_or(""));
}

std::string_view NameList::utf8(int index) const {
    return index >= 0 && static_cast<size_t>(index) < utf8_.size() ? utf8_[index]
                                                                   : std::string_view();
}

std::string_view NameList::cp932(int index) const {
    return index >= 0 && static_cast<size_t>(index) < cp932_.size() ? cp932_[index]
                                                                    : std::string_view();
}

int NameList::indexOf(std::string_view cp932) const {
    for (size_t i = 0; i < cp932_.size(); ++i) {
        if (!cp932_[i].empty() && cp932_[i] == cp932) return static_cast<int>(i);
    }
    return -1;
}

int NameList::lookup(std::string_view cp932) const {
    const int i = indexOf(cp932);
    return i < 0 ? 0 : i;
}

const NameList& altitudeLayerNames() {
    static const NameList names({"超高空", "高空", "低空", "地上", "海上", "海中"});
    return names;
}

const NameList& movementTypeNames() {
    static const NameList names({"高空", "低空", "キャタピラA", "キャタピラB", "キャタピラC",
                                 "キャタピラD", "車両A", "車両B", "車両C", "歩兵A", "海上A",
                                 "海上B", "海上C", "海中A"});
    return names;
}

const NameList& weaponTypeNames() {
    static const NameList names({
        "要撃機",       "戦闘機",       "戦闘攻撃機",   "攻撃機",       "VTOL",     "爆撃機",
        "電子戦機",     "早期警戒機",   "偵察機",       "対潜哨戒機",   "輸送機",   "給油機",
        "弾道弾迎撃機", "攻撃ﾍﾘ",       "兵員輸送ﾍﾘ",   "大型輸送ﾍﾘ",   "偵察ﾍﾘ",   "対潜哨戒ﾍﾘ",
        "対潜哨戒ﾍﾘ",   "主力戦車",     "歩兵戦闘車",   "兵員輸送車",   "偵察車",   "戦車駆逐車",
        "自走砲",       "牽引野砲",     "自走ﾛｹｯﾄ砲",   "対地ﾐｻｲﾙ車両", "対空車両", "牽引対空砲",
        "自走対空ﾐｻｲﾙ", "対空ﾐｻｲﾙ車両", "対艦ﾐｻｲﾙ車両", "弾道ﾐｻｲﾙ車両", "弾頭",     "ﾚｰﾀﾞｰ車両",
        "補給車",       "歩兵",         "工作部隊",     "司令部",       "戦艦",     "ｲｰｼﾞｽ巡洋艦",
        "巡洋艦",       "ｲｰｼﾞｽ駆逐艦",  "駆逐艦",       "ﾌﾘｹﾞｰﾄ",       "ｺﾙﾍﾞｯﾄ",   "高速ﾐｻｲﾙ艇",
        "空母",         "ﾍﾘ空母",       "揚陸艦",       "ﾎﾊﾞｰｸﾗﾌﾄ",     "輸送艦",   "補給艦",
        "潜水艦",       "戦略型潜水艦", "特殊潜航艇",
    });
    return names;
}

const NameList& armamentKindNames() {
    static const NameList names({"通常", "ﾐｻｲﾙ", "巡航ﾐｻｲﾙ", "弾道ﾐｻｲﾙ", "対空", "魚雷", "補給",
                                 "大砲", "爆弾", "弾頭", "ECM", "工作", "自爆"});
    return names;
}

const NameList& armamentKindShortNames() {
    static const NameList names({"通常", "ﾐｻｲﾙ", "巡航", "弾道", "対空", "魚雷", "補給", "大砲",
                                 "爆弾", "弾頭", "ECM", "工作", "自爆"});
    return names;
}

const NameList& targetClassNames() {
    static const NameList names({"超高空", "航空機", "ヘリ", "装甲硬", "艦船", "潜水艦", "装甲軟",
                                 "弾道ミサイル", "巡航ミサイル"});
    return names;
}

const std::vector<TransportClassName>& transportClassNames() {
    static const std::vector<TransportClassName> names = {
        {"なし", transport::kNone},
        {"艦載機", transport::kCarrierPlane},
        {"VTOL", transport::kVtol},
        {"ヘリ", transport::kHelicopter},
        {"重車両", transport::kHeavyVehicle},
        {"車両", transport::kVehicle},
        {"軽車両", transport::kLightVehicle},
        {"歩兵", transport::kInfantry},
        {"ホバークラフト", transport::kHovercraft},
    };
    return names;
}

const std::vector<CargoSlotName>& cargoSlotNames() {
    static const std::vector<CargoSlotName> names = {
        {"艦載", 0xE0}, {"VTOL", 0x60},   {"ヘリ", 0x20}, {"重車両", 0x1E},
        {"車両", 0x0E}, {"軽車両", 0x06}, {"歩兵", 0x02}, {"ホバー", 0x01},
    };
    return names;
}

namespace {

// The CP932 spellings of a list of (UTF-8 name, value) pairs, built once.
template <typename Entry>
std::vector<std::pair<std::string, uint8_t>> encodedNames(const std::vector<Entry>& entries,
                                                          uint8_t Entry::*value) {
    std::vector<std::pair<std::string, uint8_t>> out;
    for (const Entry& e : entries) {
        std::optional<std::string> name = encodeCp932(e.utf8);
        if (name) out.emplace_back(std::move(*name), e.*value);
    }
    return out;
}

}  // namespace

uint8_t transportClassByName(std::string_view cp932) {
    static const auto names = encodedNames(transportClassNames(), &TransportClassName::bit);
    for (const auto& [name, bit] : names) {
        if (name == cp932) return bit;
    }
    return 0;
}

uint8_t parseCargoSlot(std::string_view cp932) {
    static const auto names = encodedNames(cargoSlotNames(), &CargoSlotName::accepts);
    static const std::string none = encodeCp932("なし").value_or("");
    for (const auto& [name, accepts] : names) {
        if (name == cp932) return accepts;
    }
    if (cp932 == none) return 0;
    // Characters, not bytes: a double-byte character takes one bit position.
    uint8_t set = 0;
    size_t i = 0;
    for (int bit = 0; bit < 8 && i < cp932.size(); ++bit) {
        const unsigned char c = static_cast<unsigned char>(cp932[i]);
        if (c == '1') set |= static_cast<uint8_t>(0x80u >> bit);
        i += isLeadByte(c) && i + 1 < cp932.size() ? 2 : 1;
    }
    return set;
}

}  // namespace kv
