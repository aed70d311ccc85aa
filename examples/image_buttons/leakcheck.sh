#!/usr/bin/env bash
# Leak check of the image-button example under valgrind's memcheck, on a private Xvfb, with real
# pointer input (xdotool): WARMUP_CLICKS clicks on the star (default 10), then CLICKS more; after
# each batch, once the program has reported every click, valgrind is asked (through vgdb) for the
# heap the running program holds. Escape then ends it and valgrind's leak summary at exit is read.
#
#   examples/image_buttons/leakcheck.sh [BUILD_FOLDER] [CLICKS]      (defaults: build 200)
#
# Fails when the CLICKS clicks leave more than LEAK_BYTES (default 0) more bytes held, when memory
# is lost (definite or indirect leak), or when the program misses a click or ends badly. Measuring
# the running program matters: objects a program forgets in a handle table are freed with the
# table at exit, so a summary at exit alone does not see them.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=${1:-build}
clicks=${2:-200}
warmup=${WARMUP_CLICKS:-10}
limit=${LEAK_BYTES:-0}
cmake --build "$build" --target image_buttons >/dev/null
program=$(cd "$build/examples" && pwd)/image_buttons
out=$(mktemp -d)

source scripts/lib/xvfb.sh
start_xvfb
app=
cleanup() {
  if [ -n "$app" ]; then kill "$app" 2>/dev/null || true; fi
  stop_xvfb
  rm -rf "$out"
}
trap cleanup EXIT

# Bytes in the lost and "still reachable" lines of a valgrind leak summary.
held_bytes() {
  grep -E '(definitely lost|indirectly lost|possibly lost|still reachable):' "$1" |
    sed 's/.*: *//; s/ bytes.*//; s/,//g' | awk '{ sum += $1 } END { print sum + 0 }'
}

log="$out/memcheck.log"
stdout="$out/stdout"
done_clicks=0
# Clicks $1 more times and waits until the program has reported every click so far.
click() {
  for _ in $(seq "$1"); do
    xdotool click 1
    sleep 0.02
  done
  done_clicks=$((done_clicks + $1))
  for _ in $(seq 600); do
    if grep -q "^Star clicked ($done_clicks)\$" "$stdout"; then break; fi
    sleep 0.2
  done
  sleep 1
  if ! grep -q "^Star clicked ($done_clicks)\$" "$stdout"; then
    echo "leakcheck: the example reported $(grep -c '^Star clicked' "$stdout" || true) of" \
      "$done_clicks clicks" >&2
    exit 1
  fi
}
# The heap the running program holds now, in bytes.
held_now() {
  vgdb --pid="$app" leak_check summary any >"$out/live.log" 2>&1 || true
  if ! grep -q 'LEAK SUMMARY' "$out/live.log"; then
    echo "leakcheck: vgdb could not reach the program:" >&2
    cat "$out/live.log" >&2
    exit 1
  fi
  held_bytes "$out/live.log"
}

valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
  --suppressions="$root/tests/sanitizers/valgrind.supp" --num-callers=30 --log-file="$log" \
  "$program" >"$stdout" 2>&1 &
app=$!
window=$(timeout 120 xdotool search --sync --onlyvisible --name "Image buttons" | head -1)
# The star's solid middle, in client coordinates (see image_buttons.cpp).
xdotool mousemove --window "$window" 72 95
sleep 1
# The first clicks allocate what every later click reuses (message queue blocks, the title).
click "$warmup"
before=$(held_now)
click "$clicks"
after=$(held_now)
xdotool key --window "$window" Escape
status=0
wait "$app" || status=$?
app=
echo "heap held after $warmup warm-up clicks: $before bytes; after $clicks more: $after bytes"
echo "kept per click: $(((after - before) / clicks)) bytes ($((after - before)) bytes over" \
  "$clicks clicks)"
echo "exit status $status; valgrind at exit:"
grep -E 'in use at exit|definitely lost:|indirectly lost:|possibly lost:' "$log" |
  sed 's/^==[0-9]*== */  /'
if [ "$status" -ne 0 ]; then
  echo "leakcheck: the example ended with status $status" >&2
  exit 1
fi
if grep -qE '(definitely|indirectly) lost: [1-9]' "$log"; then
  cp "$log" "$build/image_buttons-memcheck.log"
  echo "leakcheck: memory lost; the records are in $build/image_buttons-memcheck.log" >&2
  exit 1
fi
if [ $((after - before)) -gt "$limit" ]; then
  echo "leakcheck: $clicks clicks kept $((after - before)) bytes (limit $limit)" >&2
  exit 1
fi
