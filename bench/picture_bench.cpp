// Building the faction-coloured sprite sheets: every faction colour at 48, 32 and 16 pixels,
// as the map view does on every zoom or colour change; and decoding a large bitmap file.
#include <benchmark/benchmark.h>

#include <QImage>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "framework/bitmap_block.h"
#include "framework/faction_colours.h"
#include "framework/picture.h"

namespace {

constexpr int kCell = 48;

// A sheet of `cols` × `rows` hex-shaped pieces on magenta: each piece a few base colours with
// shading, like drawn art after antialiasing (more distinct colours than flat art has).
kv::Picture syntheticSheet(int cols, int rows, uint32_t seed) {
    QImage image(cols * kCell, rows * kCell, QImage::Format_RGB32);
    const QRgb bases[] = {0xC03020, 0x3050C0, 0x40A040, 0xD0B060, 0x806040, 0x909090};
    uint32_t state = seed;
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int cy = y % kCell;
        for (int x = 0; x < image.width(); ++x) {
            const int cx = x % kCell;
            // Inside the hex: the pointed caps take the top and bottom quarter.
            const int cap = kCell / 4;
            const int dy = cy < cap ? cap - cy : cy >= kCell - cap ? cy - (kCell - cap - 1) : 0;
            const bool inside = 2 * dy <= std::min(cx, kCell - 1 - cx);
            if (!inside) {
                line[x] = 0xFFFF00FF;
                continue;
            }
            state = state * 1664525u + 1013904223u;
            const int piece = (x / kCell + y / kCell * cols) % 6;
            const QRgb base = bases[(piece + (cx + cy) / 12) % 6];
            const int shade = static_cast<int>(state >> 28) - 8 + (cy - kCell / 2) / 4;
            auto ch = [&](int v) { return std::clamp(v + shade, 0, 255); };
            line[x] = qRgb(ch(qRed(base)), ch(qGreen(base)), ch(qBlue(base)));
        }
    }
    return kv::Picture(image);
}

// The faction-coloured 48-pixel sheets of the map view, in cells: buildings 10 × 6, bridges
// 9 × 4, territory 1 × 1, borderlines 5 × 5, weapon-type icons 7 × 10.
std::vector<kv::Picture> mapSheets() {
    return {syntheticSheet(10, 6, 1), syntheticSheet(9, 4, 2), syntheticSheet(1, 1, 3),
            syntheticSheet(5, 5, 4), syntheticSheet(7, 10, 5)};
}

// Every sheet scaled once to 32 and 16, then every size recoloured for each of the six
// faction angles.
void buildFactionSheets(const std::vector<kv::Picture>& sheets,
                        const kv::FactionColourTable& colours) {
    for (const kv::Picture& sheet : sheets) {
        const kv::Picture sizes[] = {sheet, sheet.scaledCells(kCell, 32),
                                     sheet.scaledCells(kCell, 16)};
        for (int faction = 0; faction < 6; ++faction) {
            const int angle = colours.hueAngle(kv::FactionColourTable::factionEntry(faction));
            for (const kv::Picture& plain : sizes) {
                kv::Picture coloured = plain.recoloured(angle);
                benchmark::DoNotOptimize(coloured.image().constBits());
            }
        }
    }
}

void BM_FactionSheetsOfTheMap(benchmark::State& state) {
    const std::vector<kv::Picture> sheets = mapSheets();
    const kv::FactionColourTable colours;
    for (auto _ : state) buildFactionSheets(sheets, colours);
}
BENCHMARK(BM_FactionSheetsOfTheMap)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// One large sheet of 16 × 16 cells, as a worst case for a single picture.
void BM_FactionSheetsOf16x16Cells(benchmark::State& state) {
    const std::vector<kv::Picture> sheets = {syntheticSheet(16, 16, 6)};
    const kv::FactionColourTable colours;
    for (auto _ : state) buildFactionSheets(sheets, colours);
}
BENCHMARK(BM_FactionSheetsOf16x16Cells)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// The parts of the work on the 16 × 16 sheet: one recolouring at 48, one scaling to 32.
void BM_RecolourOneSheet(benchmark::State& state) {
    const kv::Picture sheet = syntheticSheet(16, 16, 7);
    for (auto _ : state) benchmark::DoNotOptimize(sheet.recoloured(130).image().constBits());
}
BENCHMARK(BM_RecolourOneSheet)->Unit(benchmark::kMillisecond);

void BM_ScaleOneSheet(benchmark::State& state) {
    const kv::Picture sheet = syntheticSheet(16, 16, 8);
    for (auto _ : state) benchmark::DoNotOptimize(sheet.scaledCells(kCell, 32).image().constBits());
}
BENCHMARK(BM_ScaleOneSheet)->Unit(benchmark::kMillisecond);

// Reading and converting a 16 × 16-cell 24-bit bitmap file from memory.
void BM_DecodeSheetFile(benchmark::State& state) {
    const kv::Picture sheet = syntheticSheet(16, 16, 9);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < sheet.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(sheet.image().constScanLine(y));
        pixels.insert(pixels.end(), line, line + sheet.width());
    }
    const std::string file = kv::encodeBitmapFile(sheet.width(), sheet.height(), pixels);
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(file.data()),
                                         file.size());
    for (auto _ : state) {
        kv::Picture p;
        p.fromMemory(bytes);
        benchmark::DoNotOptimize(p.image().constBits());
    }
}
BENCHMARK(BM_DecodeSheetFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
