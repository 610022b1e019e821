// Campaign files and the small maps they embed, written from their byte layouts (not by the
// program's writers) for the reader, check and command-line tests.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>

namespace kvtest {

inline void putU32(std::string& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = static_cast<char>(v >> (8 * i));
}
inline uint32_t getU32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(uint8_t(b[at + size_t(i)])) << (8 * i);
    return v;
}

// A map file of the current version holding only its header record (8 × 8 hexes) and the six
// faction records, the factions in `users` marked as played by the user (byte 43 = 1) and the
// others by the computer. Every other section is empty.
inline std::string tinyMap(std::initializer_list<int> users, const std::string& name = "map") {
    constexpr size_t kHeader = 536, kHeaderRecord = 588, kFaction = 356;
    std::string file(kHeader, '\0');
    file.replace(0, 16, "KVORNSCENARI0007");
    putU32(file, 16, kHeader);
    // Section 1: the header record; section 2: the factions.
    putU32(file, 20 + 12 * 1, kHeader);
    putU32(file, 24 + 12 * 1, kHeaderRecord);
    putU32(file, 28 + 12 * 1, 1);
    putU32(file, 20 + 12 * 2, kHeader + kHeaderRecord);
    putU32(file, 24 + 12 * 2, kFaction);
    putU32(file, 28 + 12 * 2, 6);
    std::string header(kHeaderRecord, '\0');
    header.replace(540, name.size(), name);  // the map name
    header[582] = 8;
    header[584] = 8;
    std::string factions(kFaction * 6, '\0');
    for (size_t f = 0; f < 6; ++f) {
        factions[kFaction * f] = static_cast<char>('A' + f);
        factions[kFaction * f + 43] = 2;
    }
    for (int f : users) factions[kFaction * size_t(f) + 43] = 1;
    return file + header + factions;
}

// A campaign file: the 872-byte header, the 2537-byte campaign data and the maps of the
// used slots in slot order, each directory entry as the format lays it out unless overridden.
struct CampaignBuilder {
    static constexpr size_t kHeader = 872, kData = 2537, kMapsAt = 36, kMapEntry = 49,
                            kUserFactionAt = 2486, kRanksAt = 2487;
    std::string magic = "TALMACAMPAIGN001";
    uint32_t headerSize = kHeader;
    std::string data = std::string(kData, '\0');
    std::array<std::string, 50> maps{};
    std::map<int, std::array<uint32_t, 3>> entries;  // entry → {offset, size, count}

    // Map slot k used with `bytes`, named `name`, linked from `from`.
    CampaignBuilder& map(int k, std::string bytes, const std::string& name = "", int from = 255) {
        maps[size_t(k)] = std::move(bytes);
        data.replace(kMapsAt + kMapEntry * size_t(k) + 6, name.size(), name);
        data[kMapsAt + kMapEntry * size_t(k) + 48] = static_cast<char>(from);
        return *this;
    }
    // Link `kind` (0 victory, 1 draw, 2 defeat) of slot k.
    CampaignBuilder& link(int k, int kind, int type, int target = 0) {
        data[kMapsAt + kMapEntry * size_t(k) + size_t(kind)] = static_cast<char>(type);
        data[kMapsAt + kMapEntry * size_t(k) + 3 + size_t(kind)] = static_cast<char>(target);
        return *this;
    }
    CampaignBuilder& counts(int stages, int mapCount) {
        data[34] = static_cast<char>(stages);
        data[35] = static_cast<char>(mapCount);
        return *this;
    }
    CampaignBuilder& user(int faction) {
        data[kUserFactionAt] = static_cast<char>(faction);
        return *this;
    }
    CampaignBuilder& rank(int k, int rank) {
        data[kRanksAt + size_t(k)] = static_cast<char>(rank);
        return *this;
    }

    std::string build() const {
        std::string file(kHeader, '\0');
        file.replace(0, magic.size(), magic);
        putU32(file, 16, headerSize);
        std::string body = data;
        auto put = [&](int e, std::array<uint32_t, 3> v) {
            if (auto it = entries.find(e); it != entries.end()) v = it->second;
            for (size_t i = 0; i < 3; ++i) putU32(file, 20 + 12 * size_t(e) + 4 * i, v[i]);
        };
        put(0, {uint32_t(kHeader), uint32_t(kData), 1});
        for (int k = 0; k < 50; ++k) {
            put(k + 1, {uint32_t(kHeader + body.size()), uint32_t(maps[size_t(k)].size()), 1});
            body += maps[size_t(k)];
        }
        for (int e = 51; e < 71; ++e) put(e, {0, 0, 0});
        return file + body;
    }
};

}  // namespace kvtest
