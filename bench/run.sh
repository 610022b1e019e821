#!/bin/bash
# Builds the release build with the benchmarks and runs the core ones (no display needed).
# Start-up time needs a display: bench/run_startup.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DKV_TESTS=OFF -DKV_BENCH=ON > /dev/null
cmake --build build/release -j2 --target kvgamedata_bench kvmapfile_bench kvpicture_bench
build/release/bin/kvgamedata_bench "$@"
build/release/bin/kvmapfile_bench "$@"
build/release/bin/kvpicture_bench "$@"
