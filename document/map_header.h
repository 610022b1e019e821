// The 588-byte map header record: magic, message, flags, turn limit, map name and size.
#pragma once

#include <string>
#include <string_view>

#include "document/record_bytes.h"

namespace kv {

inline constexpr std::string_view kMapMagic = "KVORNSCENARI0007";
inline constexpr std::string_view kIntermediateMagic = "SULKAMPTMP000000";

class MapHeader : public ByteRecord<588> {
public:
    static constexpr size_t kMagicOffset = 0, kMagicSize = 16;
    static constexpr size_t kMessageOffset = 16, kMessageSize = 514;
    static constexpr size_t kByte530 = 530, kByte531 = 531, kByte533 = 533;
    static constexpr size_t kBuildingIncomeOffset = 532;
    static constexpr size_t kDifficultyOffset = 534;
    static constexpr size_t kTurnLimitOffset = 536;
    static constexpr size_t kMapNameOffset = 540, kMapNameSize = 42;
    static constexpr size_t kWidthOffset = 582, kHeightOffset = 584;
    static constexpr size_t kSettingsLockedOffset = 586;
    static constexpr size_t kOperationRankOffset = 587;
    static constexpr int kMaxTurnLimit = 99;

    std::string magic() const { return std::string(reinterpret_cast<const char*>(&bytes[0]), 16); }
    // The first 16 bytes of `m`, zero-padded.
    void setMagic(std::string_view m);
    // The message's CP932 bytes up to its NUL.
    std::string message() const { return text(kMessageOffset, kMessageSize); }
    void setMessage(std::string_view cp932) { setText(kMessageOffset, kMessageSize, cp932); }
    // The map name's CP932 bytes up to its terminating NUL.
    std::string mapName() const { return text(kMapNameOffset, kMapNameSize); }
    // Stores CP932 bytes, cut at a character boundary to leave room for the NUL.
    void setMapName(std::string_view cp932) { setText(kMapNameOffset, kMapNameSize, cp932); }

    uint8_t byte530() const { return u8(kByte530); }
    uint8_t byte531() const { return u8(kByte531); }
    uint8_t byte533() const { return u8(kByte533); }
    uint8_t buildingIncome() const { return u8(kBuildingIncomeOffset); }
    void setBuildingIncome(uint8_t v) { setU8(kBuildingIncomeOffset, v); }
    uint8_t difficulty() const { return u8(kDifficultyOffset); }
    void setDifficulty(uint8_t v) { setU8(kDifficultyOffset, v); }
    int turnLimit() const { return i32(kTurnLimitOffset); }
    void setTurnLimit(int v) { setI32(kTurnLimitOffset, v); }
    // Cuts a turn limit of 99 or more, or a negative one, to 99.
    void clampTurnLimit() {
        if (u32(kTurnLimitOffset) >= static_cast<uint32_t>(kMaxTurnLimit))
            setTurnLimit(kMaxTurnLimit);
    }
    int width() const { return u16(kWidthOffset); }
    int height() const { return u16(kHeightOffset); }
    void setSize(int w, int h) {
        setU16(kWidthOffset, static_cast<uint16_t>(w));
        setU16(kHeightOffset, static_cast<uint16_t>(h));
    }
    uint8_t settingsLocked() const { return u8(kSettingsLockedOffset); }
    void setSettingsLocked(uint8_t v) { setU8(kSettingsLockedOffset, v); }
    uint8_t operationRank() const { return u8(kOperationRankOffset); }
    void setOperationRank(uint8_t v) { setU8(kOperationRankOffset, v); }
};
static_assert(sizeof(MapHeader) == MapHeader::kSize);

}  // namespace kv
