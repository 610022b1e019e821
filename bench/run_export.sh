#!/bin/bash
# Times `kvmap export` of a busy 256 × 256 map at hex size 32 (bitmap and PNG) and as a
# 256-pixel thumbnail, as whole processes: the median of several runs (start-up, game data,
# map file, sheets, drawing and writing the file); then the fixed cost of `info`, `check` and
# `export` on a 4 × 4 map and `info` of the demo map.
# Usage: bench/run_export.sh [BUILD_FOLDER] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-9}
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKV_TESTS=OFF -DKV_BENCH=ON > /dev/null
fi
cmake --build "$build" -j2 --target kvmap kvbusymap > /dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/kvbusymap" "$work/busy256.kvn" 256 256
"$build/bin/kvbusymap" "$work/tiny.kvn" 4 4
# Median of `runs` timed runs of a command line, in milliseconds; `prepare` runs untimed first.
median() {
    local prepare=$1
    shift
    local times=()
    for _ in $(seq "$runs"); do
        eval "$prepare"
        local start end
        start=$(date +%s%N)
        "$@" > /dev/null || true  # check exits 1 when it finds problems
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    local sorted=($(printf '%s\n' "${times[@]}" | sort -n))
    echo "runs ${times[*]} ms, median ${sorted[$((runs / 2))]} ms"
}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work}
cmd=("$build/dist/kvmap" export "$work/busy256.kvn" "$work/out.bmp" --hex-size 32)
echo "kvmap export 256x256 at 32, new file:       $(median 'rm -f "$work/out.bmp"' "${cmd[@]}")"
echo "kvmap export 256x256 at 32, over old file:  $(median ':' "${cmd[@]}")"
echo "(the file is $(stat -c %s "$work/out.bmp") bytes)"
png=("$build/dist/kvmap" export "$work/busy256.kvn" "$work/out.png" --hex-size 32)
echo "kvmap export 256x256 at 32 as PNG:          $(median 'rm -f "$work/out.png"' "${png[@]}")"
echo "(the file is $(stat -c %s "$work/out.png") bytes)"
# The file manager's thumbnail of the same map: the whole process, wanted well under 100 ms.
thumb=("$build/dist/kvmap" export "$work/busy256.kvn" "$work/thumb" --thumbnail 256)
echo "kvmap export --thumbnail 256 of 256x256:    $(median ':' "${thumb[@]}")"
# What every command pays whatever the map: start-up, game data, the sheets (the export's
# come from the sheet cache after the first run).
echo "uptime: $(uptime)"
echo "kvmap info of the demo map:                 $(median ':' "$build/dist/kvmap" info "$build/dist/map/demo_map.kvn")"
echo "kvmap info of a 4x4 map:                    $(median ':' "$build/dist/kvmap" info "$work/tiny.kvn")"
echo "kvmap check of a 4x4 map:                   $(median ':' "$build/dist/kvmap" check "$work/tiny.kvn")"
echo "kvmap export of a 4x4 map at 16:            $(median ':' "$build/dist/kvmap" export "$work/tiny.kvn" "$work/tiny.bmp" --hex-size 16)"
