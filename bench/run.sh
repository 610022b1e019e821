#!/bin/bash
# Builds the release build with the benchmarks and runs the core ones (no display needed).
# Start-up time needs a display: bench/run_startup.sh. Screenshots of the map view:
# bench/run_screenshots.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DKV_TESTS=OFF -DKV_BENCH=ON > /dev/null
cmake --build build/release -j2 --target kvgamedata_bench kvmapfile_bench kvmapcheck_bench kvbatch_bench \
    kvpicture_bench kvrenderer_bench kvcommand_bench kvterraintools_bench kvtroop_bench \
    kvpalette_bench kvbriefing_bench kvunderlaycolour_bench kvscript_bench kvinfowindows_bench kvanalysis_bench kvmap kvbusymap
build/release/bin/kvgamedata_bench "$@"
build/release/bin/kvmapfile_bench "$@"
build/release/bin/kvmapcheck_bench "$@"
build/release/bin/kvbatch_bench "$@"
build/release/bin/kvpicture_bench "$@"
build/release/bin/kvrenderer_bench "$@"
build/release/bin/kvcommand_bench "$@"
build/release/bin/kvterraintools_bench "$@"
build/release/bin/kvtroop_bench "$@"
build/release/bin/kvpalette_bench "$@"
build/release/bin/kvbriefing_bench "$@"
build/release/bin/kvinfowindows_bench "$@"
build/release/bin/kvscript_bench "$@"
build/release/bin/kvunderlaycolour_bench "$@"
build/release/bin/kvanalysis_bench "$@"
bench/run_export.sh build/release
