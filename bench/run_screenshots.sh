#!/bin/bash
# Screenshots of the editor showing the demo map at each hex size, with the hex frame off and
# on, and of the map's bitmap export, into build/screenshots (a virtual display is started).
# Usage: bench/run_screenshots.sh [BUILD_FOLDER] [MAP_FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKV_TESTS=OFF -DKV_BENCH=ON > /dev/null
fi
cmake --build "$build" -j2 --target kvshots > /dev/null
runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR="$runtime" SDL_AUDIODRIVER=dummy \
    xvfb-run -a -s "-screen 0 1600x1000x24" "$build/bin/kvshots" build/screenshots ${2:+"$2"}
