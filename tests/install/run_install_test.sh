#!/bin/bash
# The installed editor: `cmake --install` into a scratch prefix; the program folder made
# read-only and both programs run from there by another user, whose settings go to their own
# folders; a map opened from the command line and one handed over by a second start; the MIME
# types recognised by content and tied to the desktop entry; the thumbnailer's picture.
# Usage: run_install_test.sh BUILD_DIR XCLOSE
set -u
build=$1
xclose=$2
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool xdg-mime update-mime-database update-desktop-database \
            desktop-file-validate identify setpriv; do
    command -v "$tool" > /dev/null || { echo "$tool is needed (scripts/deps.sh)" >&2; exit 1; }
done
export LSAN_OPTIONS="suppressions=$here/../lsan.supp:print_suppressions=0"
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}
work=$(mktemp -d)
xvfb=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null
    chmod -R u+w "$work"
    rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
prefix=$work/opt/kvornme
share=$prefix/share
if ! cmake --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    exit 1
fi
touch "$work/installed"

# --- the layout --------------------------------------------------------------------------
for f in kvornme kvmap bin/kvornme bin/kvmap; do
    [ -x "$prefix/$f" ] || fail "$f is not an installed program"
done
[ -f "$prefix/land.dat" ] && [ -f "$prefix/map/demo_map.kvn" ] || fail "no game data beside the programs"
for s in 16 22 24 32 48 64 128 256; do
    icon=$share/icons/hicolor/${s}x${s}/apps/kvornme.png
    [ "$(identify -format '%m %wx%h' "$icon" 2> /dev/null)" = "PNG ${s}x${s}" ] || fail "icon $icon"
done
entry=$share/applications/kvornme.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate $entry"
for line in "Exec=$prefix/bin/kvornme %f" "Name[ja]=ケステルゾルテア マップエディタ" \
            "Name=Kestelzoltea Map Editor" "Categories=Game;Development;" "Icon=kvornme"; do
    grep -qxF "$line" "$entry" || fail "$entry lacks the line: $line"
done

# --- another user, the program folder read-only ------------------------------------------
home=$work/home
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
as=()
if [ "$(id -u)" = 0 ]; then
    # root writes anywhere: the programs run as nobody.
    chown -R nobody:nogroup "$home"
    as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
chmod -R a-w "$prefix"
run() {
    env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
        XDG_RUNTIME_DIR="$home/runtime" SDL_AUDIODRIVER=dummy "${as[@]}" "$@"
}
paths=$(run "$prefix/bin/kvmap" paths)
[ "$paths" = "program folder: $prefix/
settings file: $home/config/kvornme/kvmap.ini" ] || fail "kvmap paths said: $paths"
run "$prefix/bin/kvmap" data > "$work/data.txt" 2>&1 || fail "kvmap data: $(cat "$work/data.txt")"
# Answered without a display.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/kvornme" --version 2>&1)
[ "$version" = "kvornme 1.00a" ] || fail "kvornme --version said: $version"

# The editor under Xvfb: opened with one map, handed another by a second start, closed.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
window() {  # waits for a window whose title matches $1 and prints its id
    local w=""
    for _ in $(seq 150); do
        w=$(xdotool search --name "$1" 2> /dev/null | head -1)
        [ -n "$w" ] && break
        sleep 0.1
    done
    echo "$w"
}
run "$prefix/bin/kvornme" "$prefix/map/demo_scenario.kvs" > "$work/editor.log" 2>&1 &
editor=$!
win=$(window "ケステルゾルテア マップエディタ .* - $prefix/map/demo_scenario\.kvs")
[ -n "$win" ] || fail "the editor did not show demo_scenario.kvs: $(cat "$work/editor.log")"
if [ -n "$win" ]; then
    run "$prefix/bin/kvornme" "$prefix/map/demo_map.kvn" || fail "the second start failed"
    [ -n "$(window " - $prefix/map/demo_map\.kvn")" ] || fail "the first editor did not open demo_map.kvn"
    "$xclose" "$win"
fi
for _ in $(seq 100); do kill -0 "$editor" 2> /dev/null || break; sleep 0.1; done
if kill -0 "$editor" 2> /dev/null; then
    fail "the editor did not end"
    kill "$editor"
fi
wait "$editor" || fail "the editor ended with $?: $(cat "$work/editor.log")"
grep -q "^SimpleMode=0" "$home/config/kvornme/kvornme.ini" 2> /dev/null ||
    fail "the editor's settings are not in the user's folder"
[ -z "$(find "$prefix" -newer "$work/installed")" ] || fail "files written into the program folder"

# --- MIME types by content, and the entry that opens them --------------------------------
mime=$work/mimehome
mkdir -p "$mime/mime/packages" "$mime/applications" "$work/fx"
cp "$share/mime/packages/kvornme.xml" "$mime/mime/packages/"
cp "$entry" "$mime/applications/"
update-mime-database "$mime/mime" > /dev/null 2>&1 || fail "update-mime-database"
update-desktop-database "$mime/applications" || fail "update-desktop-database"
# An intermediate file as the layout has it: sections 0 and 1 back to back from byte 536, the
# map header record starting with the intermediate magic.
{
    printf 'KVORNSCENARI0007\x18\x02\x00\x00'
    printf '\x18\x02\x00\x00\xbf\x3e\x00\x00\x01\x00\x00\x00\xd7\x40\x00\x00\x4c\x02\x00\x00\x01\x00\x00\x00'
    head -c $((16599 - 44)) /dev/zero
    printf 'SULKAMPTMP000000'
    head -c 572 /dev/zero
} > "$work/fx/inter.kvt"
# A normal map of version 6: no scenario texts section.
{ printf 'TALMASCENARI0006\x18\x02\x00\x00'; head -c 600 /dev/zero; } > "$work/fx/old.kvn"
cp "$work/fx/inter.kvt" "$work/fx/inter.kst"
cp "$prefix/map/demo_scenario.kvs" "$work/fx/simple.ksm"
checks=(
    "$prefix/map/demo_map.kvn map" "$prefix/map/demo_scenario.kvs scenario"
    "$work/fx/inter.kvt intermediate" "$work/fx/simple.ksm simple-map"
    "$work/fx/inter.kst simple-intermediate" "$prefix/map/demo_campaign.kvc campaign"
    "$prefix/data/sample.upd update" "$work/fx/old.kvn map"
)
for f in "$prefix"/map/legacy/*; do checks+=("$f earlier-map"); done
for c in "${checks[@]}"; do
    file=${c% *}
    kind=${c##* }
    # By name, and by content alone under a name without an extension.
    blind=$work/fx/blind-$(basename "$file" | tr . -)
    cp "$file" "$blind"
    for f in "$file" "$blind"; do
        [ "$f" = "$blind" ] && [ "${kind#simple}" != "$kind" ] && continue  # same bytes as the plain kinds
        got=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION \
              -u GNOME_DESKTOP_SESSION_ID XDG_DATA_HOME="$mime" xdg-mime query filetype "$f")
        [ "$got" = "application/x-kvornme-$kind" ] || fail "$f is $got, not application/x-kvornme-$kind"
    done
done
for kind in map scenario intermediate simple-map simple-intermediate earlier-map; do
    got=$(env -u XDG_CURRENT_DESKTOP XDG_DATA_HOME="$mime" xdg-mime query default "application/x-kvornme-$kind")
    [ "$got" = kvornme.desktop ] || fail "application/x-kvornme-$kind opens with '$got'"
done

# --- the thumbnailer ---------------------------------------------------------------------
exec_line=$(sed -n 's/^Exec=//p' "$share/thumbnailers/kvornme.thumbnailer")
thumb=$home/thumbnail  # file managers pass names without an extension
command=${exec_line//%s/128}
command=${command//%i/$prefix/map/demo_scenario.kvs}
command=${command//%o/$thumb}
# shellcheck disable=SC2086 # the Exec line is split into words as the file manager does
run $command || fail "the thumbnailer failed: $command"
read -r format width height colours <<< "$(identify -format '%m %w %h %k' "$thumb" 2> /dev/null)"
[ "${format:-}" = PNG ] || fail "the thumbnail is no PNG"
[ "${width:-0}" = 128 ] && [ "${height:-0}" -le 128 ] && [ "${height:-0}" -ge 32 ] ||
    fail "the thumbnail is ${width:-?} x ${height:-?}, not fitted into 128"
[ "${colours:-0}" -ge 16 ] || fail "the thumbnail has ${colours:-0} colours: blank"

[ $status = 0 ] && echo "installed program: all checks passed"
exit $status
