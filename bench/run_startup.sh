#!/bin/bash
# Measures the editor's start-up time (process start to the main window showing the map)
# under Xvfb with a black root window: once with default settings, once with the terrain
# palette reopened at start (as a designer who left it open has it). The first start after a
# build makes the sheet caches; the medians are of the starts after it.
# Usage: bench/run_startup.sh   (after a release build with -DKV_BENCH=ON in build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DKV_TESTS=OFF -DKV_BENCH=ON > /dev/null
cmake --build build/release -j2 --target kvstartup_bench kvornme
runtime=$(mktemp -d); chmod 700 "$runtime"
settings=build/release/dist/kvornme.ini
run() {
    XDG_RUNTIME_DIR="$runtime" SDL_AUDIODRIVER=dummy KV_EDITOR="$PWD/build/release/dist/kvornme" \
        xvfb-run -a -s "-screen 0 1280x1024x24 -br" build/release/bin/kvstartup_bench "$@"
}
rm -f "$settings"
echo "== default settings"
run "$@"
printf '[Environment]\nShowLandPaletteWin=1\n' > "$settings"
echo "== terrain palette open"
run "$@"
rm -f "$settings" "$runtime"/* && rmdir "$runtime"
