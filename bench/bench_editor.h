// The editor's main frame over the build's sample data, for the benchmarks of its windows.
#pragma once

#include <memory>
#include <string>

#include "app/main_frame.h"
#include "document/map_document.h"
#include "framework/profile.h"

namespace kvbench {

struct Editor {
    Editor() {
        kv::setProgramPath(std::string(KV_DIST_DIR) + "/kvornme");
        doc = std::make_unique<kv::MapDocument>();
        doc->loadResources();
        frame = kv::newWindow<kv::MainFrame>(*doc);
        frame->create();
    }
    ~Editor() {
        delete frame->handle();
        doc.reset();
    }
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    std::unique_ptr<kv::MapDocument> doc;
    kv::MainFrame* frame = nullptr;
};

}  // namespace kvbench
