#!/usr/bin/env bash
# Starts the program under Xvfb once per built-in skin and once with "No Skin", and writes two
# screenshots of the main window per skin to docs/screenshots/: <skin>.png with the mouse over
# the "Mark Start Point" button and its hint, and <skin>-menu.png with the "File" menu open; then
# <skin>-message.png, the message box a file that is no video gives; <skin>-open.png, the open
# dialog; then frame-states.png, the frame's states in Winxpblue.
# Environment: FRAMORA_SHOT_DISPLAY (default :63), FRAMORA_RELEASE_BUILD (default build-release).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${FRAMORA_RELEASE_BUILD:-$ROOT/build-release}"
SHOT_DISPLAY="${FRAMORA_SHOT_DISPLAY:-:63}"
OUT="$ROOT/docs/screenshots"
"$ROOT/scripts/deps.sh" --screenshots

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFRAMORA_TESTS=OFF >/dev/null
cmake --build "$BUILD" --target framora
mkdir -p "$OUT"

Xvfb "$SHOT_DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=""
cleanup() {
    [[ -n "$app" ]] && kill "$app" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY="$SHOT_DISPLAY"
export QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# The main window's client area is 532 x 336 at the bottom of the window, between equal borders.
readonly CLIENT_W=532 CLIENT_H=336
names=(WinAqua Winxpblue Wistler NoSkin)
for choice in 1 2 3 4; do
    name="${names[$((choice - 1))]}"
    printf '[Options]\r\nSkin=%d\r\n' "$choice" >"$BUILD/bin/framora.ini"
    "$BUILD/bin/framora" &
    app=$!
    wid="$(xdotool search --sync --onlyvisible --name '^Framora$' | head -1)"
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    border=$(((WIDTH - CLIENT_W) / 2))
    cx=$((X + border))
    cy=$((Y + HEIGHT - CLIENT_H - border))
    # Over "Mark Start Point" (24, 280, 105 x 25): its hover fades in over 200 ms and its hint,
    # which names its key, follows the hint pause.
    xdotool mousemove $((cx + 70)) $((cy + 292))
    sleep 1.6
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$OUT/$name.png"
    # The "File" menu drops from the menu bar's first item.
    xdotool mousemove $((cx + 14)) $((cy + 11)) click 1
    sleep 0.6
    import -window root -crop "$((WIDTH + 20))x$((HEIGHT + 20))+$((X - 10))+$((Y - 10))" +repage \
        "$OUT/$name-menu.png"
    xdotool key Escape
    kill "$app"
    wait "$app" 2>/dev/null || true
    app=""
    # A text file named like a video, given on the command line: the error box over the window.
    mkdir -p /tmp/framora-shot
    echo "not a video" >/tmp/framora-shot/Holiday.avi
    "$BUILD/bin/framora" /tmp/framora-shot/Holiday.avi &
    app=$!
    box="$(xdotool search --sync --onlyvisible --name '^Error$' | head -1)"
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$box")"
    import -window root -crop "$((WIDTH + 20))x$((HEIGHT + 20))+$((X - 10))+$((Y - 10))" +repage \
        -define png:exclude-chunks=date,time "$OUT/$name-message.png"
    kill "$app"
    wait "$app" 2>/dev/null || true
    app=""
    # File > Open's dialog on a home folder with a few clips, a name typed in its name field.
    home=/tmp/framora-shot/home
    mkdir -p "$home/Holiday 2026" "$home/Projects"
    for f in "Beach walk.avi" "Birthday.mpg" "Concert.avi" "Harbour at night.mpeg" notes.txt; do
        : >"$home/$f"
    done
    HOME="$home" "$BUILD/bin/framora" &
    app=$!
    xdotool search --sync --onlyvisible --name '^Framora$' >/dev/null
    sleep 1
    xdotool key ctrl+o
    dlg="$(xdotool search --sync --onlyvisible --name '^Open file$' | head -1)"
    sleep 0.5
    xdotool type --delay 30 "Concert.avi"
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$dlg")"
    import -window root -crop "$((WIDTH + 20))x$((HEIGHT + 20))+$((X - 10))+$((Y - 10))" +repage \
        -define png:exclude-chunks=date,time "$OUT/$name-open.png"
    kill "$app"
    wait "$app" 2>/dev/null || true
    app=""
done
# The frame's states in Winxpblue, one strip above the other: the caption active, then inactive
# behind the About window; the caption buttons normal, hot and pressed; the window rolled up by a
# double click on its caption.
printf '[Options]\r\nSkin=2\r\n' >"$BUILD/bin/framora.ini"
"$BUILD/bin/framora" &
app=$!
wid="$(xdotool search --sync --onlyvisible --name '^Framora$' | head -1)"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$wid")"
tmp="$(mktemp -d)"
strip() { import -window root -crop "$1" +repage "$tmp/$2.png"; }
buttons="80x30+$((X + WIDTH - 80))+${Y}"
xdotool mousemove 0 0
sleep 0.5
strip "$buttons" normal
strip "${WIDTH}x30+${X}+${Y}" active
xdotool mousemove $((X + WIDTH - 16)) $((Y + 11)) sleep 0.1 mousemove $((X + WIDTH - 15)) $((Y + 12))
sleep 0.6
strip "$buttons" hot
xdotool mousedown 1
sleep 0.4
strip "$buttons" pressed
# Released away from the button, so the window stays.
xdotool mousemove 0 0 sleep 0.2 mouseup 1
sleep 0.5
# "About" (408, 280, 49 x 25) opens the modal About window over the main one.
border=$(((WIDTH - CLIENT_W) / 2))
xdotool mousemove $((X + border + 432)) $((Y + HEIGHT - CLIENT_H - border + 292)) click 1
sleep 1
strip "${WIDTH}x30+${X}+${Y}" inactive
xdotool key Escape
sleep 0.5
xdotool mousemove $((X + 200)) $((Y + 12)) click --repeat 2 --delay 80 1
sleep 0.8
eval "$(xdotool getwindowgeometry --shell "$wid")"
strip "${WIDTH}x${HEIGHT}+${X}+${Y}" rolled
convert "$tmp/normal.png" "$tmp/hot.png" "$tmp/pressed.png" +append "$tmp/buttons.png"
# Without the date and time chunks, the same pixels give the same bytes on every run.
convert -define png:exclude-chunks=date,time -background black "$tmp/active.png" \
    "$tmp/inactive.png" "$tmp/buttons.png" \
    "$tmp/rolled.png" -splice 0x6 -append "$OUT/frame-states.png"
rm -rf "$tmp"
kill "$app"
wait "$app" 2>/dev/null || true
app=""

rm -f "$BUILD/bin/framora.ini"
ls -l "$OUT"
