#!/usr/bin/env bash
# Runs the image-button example under a private Xvfb with a window manager, clicks the arrow twice
# and the star once, leaves the pointer hovering over the blob, and saves a picture of the window.
#   examples/image_buttons/screenshot.sh [BUILD_FOLDER] [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
out=${2:-docs/images/image-buttons.png}
cmake --build "$build" --target image_buttons >/dev/null
source scripts/lib/xvfb.sh
start_xvfb
openbox >/dev/null 2>&1 &
wm=$!
log=$(mktemp)
"$build/examples/image_buttons" >"$log" 2>&1 &
app=$!
cleanup() {
  kill "$app" "$wm" 2>/dev/null || true
  wait "$app" "$wm" 2>/dev/null || true
  rm -f "$log"
  stop_xvfb
}
trap cleanup EXIT

window=$(timeout 20 xdotool search --sync --onlyvisible --name "Image buttons" | head -1)
sleep 1  # let the window manager place and decorate it
# Button positions inside the client area (see image_buttons.cpp), aimed at solid parts of each shape.
click_at() {
  xdotool mousemove --window "$window" "$1" "$2"
  sleep 0.2
  xdotool click 1
  sleep 0.2
}
click_at 340 88   # arrow
click_at 340 88   # arrow
click_at 72 95    # star
xdotool mousemove --window "$window" 205 88  # hover over the blob
sleep 0.5

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
echo "clicks reported by the example:"
cat "$log"
echo "saved $out"
