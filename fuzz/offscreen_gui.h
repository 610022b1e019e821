// What the targets that read pictures or draw share: an offscreen GUI application for the
// run, and the input written to a scratch file of their own.
#pragma once

#include <QGuiApplication>

#include <cstdlib>
#include <string>
#include <string_view>

#include "framework/disk_file.h"
#include "framework/errors.h"
#include "fuzz/scratch_program.h"

namespace kvfuzz {

// For LLVMFuzzerInitialize: pictures and fonts need a GUI application, never a display.
inline void startOffscreenGui(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
}

// Writes the input over the scratch file `name` (the same file every run) and gives its path.
inline const std::string& writeScratchInput(const std::string& name, std::string_view bytes) {
    static std::string path;
    path = scratchFolder() + "/" + name;
    try {
        kv::writeFileAtomically(path, bytes);
    } catch (const kv::swCError&) {
        std::abort();  // the scratch folder is ours: a failure here is the harness's
    }
    return path;
}

}  // namespace kvfuzz
