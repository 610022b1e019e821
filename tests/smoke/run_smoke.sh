#!/bin/bash
# Starts the real editor under Xvfb, waits for its main window by its title, sends it the
# close request and checks that it exits with code 0.
set -u
here=$(cd "$(dirname "$0")" && pwd)
exe="$1"
xclose="$2"
if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
    echo "xvfb-run and xdotool are needed" >&2
    exit 1
fi
# System libraries (D-Bus, fontconfig) keep allocations for the life of the process.
export LSAN_OPTIONS="suppressions=$here/../lsan.supp:print_suppressions=0"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
# A private copy of the program folder, so the test's settings stay its own.
cp -r "$(dirname "$exe")" "$work/prog"

cat > "$work/drive.sh" <<DRIVE
#!/bin/bash
XDG_RUNTIME_DIR="$work/runtime" SDL_AUDIODRIVER=dummy "$work/prog/$(basename "$exe")" &
pid=\$!
win=""
for i in \$(seq 1 100); do
    win=\$(xdotool search --name "ケステルゾルテア マップエディタ" 2>/dev/null | head -1)
    [ -n "\$win" ] && break
    sleep 0.1
done
if [ -z "\$win" ]; then
    echo "main window did not appear" >&2
    kill \$pid
    exit 1
fi
echo "main window: \$(xdotool getwindowname \$win)"
"$xclose" "\$win"
for i in \$(seq 1 100); do
    kill -0 \$pid 2>/dev/null || break
    sleep 0.1
done
if kill -0 \$pid 2>/dev/null; then
    echo "editor did not exit after the close request" >&2
    kill \$pid
    exit 1
fi
wait \$pid
code=\$?
echo "exit code \$code"
exit \$code
DRIVE
chmod +x "$work/drive.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$work/drive.sh"
