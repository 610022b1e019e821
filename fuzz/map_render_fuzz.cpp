// Maps of arbitrary bytes loaded with the sample game database and drawn at the smallest hex
// size into a small view: drawing every hex, its labels and troops and composing the screen
// never touch memory outside the tables or the images.
#include <QSize>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "fuzz/offscreen_gui.h"
#include "fuzz/sample_game.h"
#include "view/map_renderer.h"

namespace {

constexpr int kViewWidth = 160, kViewHeight = 120;

// One renderer for the run: its sheets are built once, at 16-pixel hexes.
kv::MapRenderer& renderer(kv::MapDocument& doc) {
    static const std::unique_ptr<kv::MapRenderer> r = [&] {
        doc.viewSettings.hexSize = 16;
        auto made = std::make_unique<kv::MapRenderer>(doc, QSize(kViewWidth, kViewHeight));
        made->setClientSize(kViewWidth, kViewHeight);
        made->rebuildSheets();
        return made;
    }();
    return *r;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    kvfuzz::startOffscreenGui(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using kvfuzz::expect;
    kv::MapDocument& doc = kvfuzz::sampleDocument();
    kv::MapRenderer& r = renderer(doc);
    static const std::string path = kvfuzz::scratchFolder() + "/render.kvs";
    try {
        kv::writeFileAtomically(path, std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const kv::swCError&) {
        std::abort();
    }
    if (!kv::loadMapFile(doc, path)) return 0;
    doc.viewSettings.hexSize = 16;
    // The view's origin from the input's last bytes, inside the map or just past its edge.
    const uint8_t a = size > 0 ? data[size - 1] : 0, b = size > 1 ? data[size - 2] : 0;
    r.setOrigin({a % (doc.width() + 2) - 1, b % (doc.height() + 2) - 1});
    r.forgetPreviousOrigin();
    r.setFullPresent();
    r.drawMap();
    r.present();
    expect(r.screenImage().width() == kViewWidth && r.screenImage().height() == kViewHeight);
    return 0;
}
