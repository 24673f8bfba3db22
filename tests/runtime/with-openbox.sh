#!/usr/bin/env bash
# Runs a command on the current X server under the openbox window manager: starts openbox,
# waits until it has taken the screen, runs the command and stops openbox again.
set -u
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done
"$@"
rc=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit "$rc"
