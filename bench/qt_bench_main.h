// The main() of the benchmarks that need the widgets: an offscreen Qt application (unless a
// platform is asked for) and a prompter that answers every message box quietly.
#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

#include "framework/prompter.h"

namespace kvbench {

// Runs the registered benchmarks; `beforeExit` lets a file drop the windows it kept while the
// application still exists.
inline int runWithQt(int argc, char** argv, const std::function<void()>& beforeExit = {}) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    kv::RecordingPrompter quiet;
    kv::ScopedPrompter installed(&quiet);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeExit) beforeExit();
    return 0;
}

}  // namespace kvbench
