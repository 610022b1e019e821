#!/bin/bash
# Compares `kvmap export` with Tiled's command-line renderer (tmxrasterizer, Debian's Tiled: a
# general map editor of other games, used as a yardstick) on the busy 256 × 256 map: Tiled gets
# an equivalent three-layer hexagonal map of the same pixel size, with a tileset drawn by
# Python. Every command is a whole process; the runs are interleaved and the medians printed,
# with the write floor (a small C program writing as many bytes to a new file and renaming it)
# and our peak memory.
# Usage: bench/compare_tiled.sh [RUNS]   (BUILD=folder to use another build, default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-9}
build=${BUILD:-build/release}

need=()
command -v tmxrasterizer > /dev/null || need+=(tiled)
/usr/bin/python3 -c 'import PIL' 2> /dev/null || need+=(python3-pil)
[ -x /usr/bin/time ] || need+=(time)
if [ ${#need[@]} -gt 0 ]; then
    echo "installing: ${need[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKV_TESTS=OFF -DKV_BENCH=ON > /dev/null
fi
cmake --build "$build" -j2 --target kvmap kvbusymap > /dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen
"$build/bin/kvbusymap" "$work/busy.kvn" 256 256 > /dev/null

# The write floor: as many bytes into a new file beside the target, then renamed into place.
cat > "$work/floor.c" << 'EOF'
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
int main(int argc, char **argv) {
    if (argc != 3) return 2;
    long long left = atoll(argv[1]);
    char temp[4096];
    snprintf(temp, sizeof temp, "%s.XXXXXX", argv[2]);
    int fd = mkstemp(temp);
    if (fd < 0) return 1;
    static char buffer[1 << 22];
    memset(buffer, 0x55, sizeof buffer);
    while (left > 0) {
        ssize_t n = write(fd, buffer, left < (long long)sizeof buffer ? (size_t)left : sizeof buffer);
        if (n <= 0) return 1;
        left -= n;
    }
    if (close(fd) != 0 || rename(temp, argv[2]) != 0) return 1;
    return 0;
}
EOF
${CC:-cc} -O2 -o "$work/floor" "$work/floor.c"

# The Tiled maps: pointy hexes of side S/2 in rows 3S/4 apart, odd rows shifted by S/2, which
# is the export's picture size; a ground layer everywhere, a layer of buildings and rivers
# and one of roads over part of it, as busy as our map.
/usr/bin/python3 - "$work" << 'EOF'
import base64, random, struct, sys, zlib
from PIL import Image, ImageDraw
work = sys.argv[1]
W = H = 256
for s in (16, 32, 48):
    cols, rows = 10, 3
    sheet = Image.new("RGBA", (cols * s, rows * s), (0, 0, 0, 0))
    d = ImageDraw.Draw(sheet)
    rnd = random.Random(s)
    hexagon = [(s / 2, 0), (s, s / 4), (s, 3 * s / 4), (s / 2, s), (0, 3 * s / 4), (0, s / 4)]
    for t in range(cols * rows):
        ox, oy = (t % cols) * s, (t // cols) * s
        colour = tuple(rnd.randrange(40, 220) for _ in range(3)) + (255,)
        if t < 10:  # ground: the whole hex, with speckles
            d.polygon([(ox + x, oy + y) for x, y in hexagon], fill=colour)
            for _ in range(s):
                d.point((ox + rnd.randrange(s // 4, 3 * s // 4), oy + rnd.randrange(s // 4, 3 * s // 4)),
                        fill=tuple(c // 2 for c in colour[:3]) + (255,))
        elif t < 20:  # buildings and rivers: shapes in the middle
            d.rectangle((ox + s // 4, oy + s // 4, ox + 3 * s // 4, oy + 3 * s // 4), fill=colour)
        else:  # roads: a line through the centre
            a = rnd.randrange(6)
            x0, y0 = hexagon[a]
            d.line((ox + x0, oy + y0, ox + s / 2, oy + s / 2), fill=colour, width=max(2, s // 8))
    sheet.save(f"{work}/tiles{s}.png")
    rnd = random.Random(1)
    layers = [[1 + rnd.randrange(10) for _ in range(W * H)],
              [11 + rnd.randrange(10) if rnd.random() < 0.3 else 0 for _ in range(W * H)],
              [21 + rnd.randrange(10) if rnd.random() < 0.25 else 0 for _ in range(W * H)]]
    with open(f"{work}/busy{s}.tmx", "w") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n')
        f.write(f'<map version="1.8" tiledversion="1.8.2" orientation="hexagonal" renderorder="right-down" '
                f'width="{W}" height="{H}" tilewidth="{s}" tileheight="{s}" infinite="0" '
                f'hexsidelength="{s // 2}" staggeraxis="y" staggerindex="odd" nextlayerid="4" nextobjectid="1">\n')
        f.write(f' <tileset firstgid="1" name="hex" tilewidth="{s}" tileheight="{s}" tilecount="{cols * rows}" columns="{cols}">\n')
        f.write(f'  <image source="tiles{s}.png" width="{cols * s}" height="{rows * s}"/>\n </tileset>\n')
        for i, (name, gids) in enumerate(zip(("ground", "buildings", "roads"), layers)):
            data = base64.b64encode(zlib.compress(struct.pack(f"<{W * H}I", *gids))).decode()
            f.write(f' <layer id="{i + 1}" name="{name}" width="{W}" height="{H}">\n'
                    f'  <data encoding="base64" compression="zlib">{data}</data>\n </layer>\n')
        f.write('</map>\n')
EOF

# Milliseconds and peak kilobytes of one run, appended to the results.
timed() {
    local label=$1
    shift
    local start end
    sync  # no run pays for the write-back of the one before it
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$work/mem" "$@" > /dev/null 2>&1
    end=$(date +%s%N)
    echo "$label $(((end - start) / 1000000)) $(tail -1 "$work/mem")" >> "$work/results"
}
echo "load before: $(uptime)"
for _ in $(seq "$runs"); do
    for s in 16 32 48; do
        for fmt in bmp png; do
            rm -f "$work/tiled.$fmt" "$work/ours.$fmt"
            timed "$s $fmt tiled" tmxrasterizer "$work/busy$s.tmx" "$work/tiled.$fmt"
            timed "$s $fmt ours" "$build/dist/kvmap" export "$work/busy.kvn" "$work/ours.$fmt" --hex-size "$s"
            if [ "$fmt" = bmp ]; then
                timed "$s $fmt floor" "$work/floor" "$(stat -c %s "$work/ours.bmp")" "$work/floor.bin"
                rm -f "$work/floor.bin"
            fi
        done
    done
done
echo "load after:  $(uptime)"
size() { /usr/bin/python3 -c 'import sys; from PIL import Image; Image.MAX_IMAGE_PIXELS = None; print("%d x %d" % Image.open(sys.argv[1]).size)' "$1"; }
echo "picture sizes at 48: ours $(size "$work/ours.png"), Tiled $(size "$work/tiled.png")"
/usr/bin/python3 - "$work/results" << 'EOF'
import statistics, sys
runs = {}
for line in open(sys.argv[1]):
    s, fmt, who, ms, kb = line.split()
    runs.setdefault((int(s), fmt, who), []).append((int(ms), int(kb)))
med = lambda key, i: statistics.median(r[i] for r in runs[key]) if key in runs else None
print("| size | format | Tiled | ours | Tiled / ours | write floor | ours / floor | ours peak |")
print("|---|---|---|---|---|---|---|---|")
for fmt in ("bmp", "png"):
    for s in (16, 32, 48):
        t, o, f = med((s, fmt, "tiled"), 0), med((s, fmt, "ours"), 0), med((s, fmt, "floor"), 0)
        peak = med((s, fmt, "ours"), 1) / 1024
        floor = f"{f:.0f} ms" if f is not None else ""
        ratio = f"{o / f:.2f}×" if f else ""
        print(f"| {s} | {fmt.upper()} | {t:.0f} ms | {o:.0f} ms | {t / o:.1f}× | {floor} | {ratio} | {peak:.0f} MB |")
EOF
