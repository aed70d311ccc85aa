#!/usr/bin/env bash
# Runs the frame-clock example under a private Xvfb with a window manager, types a few words into
# it (the e-acute on a key that xdotool gives that keysym for the moment) and saves a picture of the
# window.
#   examples/frame_clock/screenshot.sh [BUILD_FOLDER] [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
out=${2:-docs/images/frame-clock.png}
cmake --build "$build" --target frame_clock >/dev/null
source scripts/lib/xvfb.sh
start_xvfb
openbox >/dev/null 2>&1 &
wm=$!
"$build/examples/frame_clock" >/dev/null 2>&1 &
app=$!
cleanup() {
  kill "$app" "$wm" 2>/dev/null || true
  wait "$app" "$wm" 2>/dev/null || true
  stop_xvfb
}
trap cleanup EXIT

timeout 20 xdotool search --sync --onlyvisible --name "Frame clock" >/dev/null
sleep 1  # let the window manager place and decorate it
# Asked again: the pixel format may have given the window a new X window since it first showed.
window=$(xdotool search --onlyvisible --name "Frame clock" | tail -1)
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
xdotool type --delay 60 "Café, frame clock"
sleep 1

# The window with its frame: the client rectangle grown by the frame extents.
info=$(xwininfo -id "$window")
x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
width=$(awk '/Width:/ {print $2}' <<<"$info")
height=$(awk '/Height:/ {print $2}' <<<"$info")
read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
mkdir -p "$(dirname "$out")"
import -window root -crop "$((width + left + right))x$((height + top + bottom))+$((x - left))+$((y - top))" \
  +repage "$out"
echo "title: $(xdotool getwindowname "$window")"
echo "saved $out"
