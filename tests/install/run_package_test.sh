#!/bin/bash
# The Debian package: CPack packs the build, the package is unpacked into a scratch root
# without installing it, and kvmap reads the game data from there. Its dependencies are
# run-time packages only.
# Usage: run_package_test.sh BUILD_DIR
set -u
build=$1
here=$(cd "$(dirname "$0")" && pwd)
export LSAN_OPTIONS="suppressions=$here/../lsan.supp:print_suppressions=0"
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# zstd packs the large test build in a fraction of gzip's time.
if ! cpack -G DEB -B "$work/pkg" --config "$build/CPackConfig.cmake" \
        -D CPACK_DEBIAN_COMPRESSION_TYPE=zstd > "$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    exit 1
fi
deb=$(ls "$work"/pkg/*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = kvornme ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libsdl2-mixer-2.0-0 fonts-ipafont-gothic; do
    [[ ", $depends," == *", $p"[\ ,]* ]] || fail "Depends lacks $p: $depends"
done
[[ "$depends" != *-dev* && "$depends" != *cmake* ]] || fail "build packages in Depends: $depends"
dpkg -x "$deb" "$work/root" || fail "dpkg -x"
prefix=$work/root/opt/kvornme
out=$(XDG_RUNTIME_DIR="$work" "$prefix/bin/kvmap" data 2>&1) || fail "kvmap data: $out"
grep -q "^program folder: $prefix/$" <<< "$out" || fail "kvmap data read another folder: $out"
grep -q "^weapons: *[1-9]" <<< "$out" || fail "kvmap data found no weapons: $out"
grep -qxF "Exec=/opt/kvornme/bin/kvornme %f" "$prefix/share/applications/kvornme.desktop" ||
    grep -qxF "Exec=/opt/kvornme/bin/kvornme %f" "$work/root/usr/share/applications/kvornme.desktop" ||
    fail "the desktop entry does not start /opt/kvornme/bin/kvornme"
[ $status = 0 ] && echo "package: all checks passed"
exit $status
