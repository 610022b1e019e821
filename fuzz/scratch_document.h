// One map document for a whole fuzzing run, in a scratch program folder, with messages
// recorded instead of shown.
#pragma once

#include <memory>

#include "document/map_document.h"
#include "framework/prompter.h"
#include "fuzz/scratch_program.h"

namespace kvfuzz {

inline kv::MapDocument& scratchDocument() {
    static const std::unique_ptr<kv::MapDocument> doc = [] {
        static kv::RecordingPrompter quiet;
        kv::setPrompter(&quiet);
        scratchProgram({});
        auto d = std::make_unique<kv::MapDocument>();
        d->resetToNewMap();
        return d;
    }();
    return *doc;
}

}  // namespace kvfuzz
