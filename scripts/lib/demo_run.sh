# Sourced by the scripts: demo_run SHOT COMMAND... runs the Tornado demo as a user does, on the
# current $DISPLAY (which needs a window manager): answers No to the start-up question with a real
# key press, lets the demo draw $DEMO_FRAMES frames (100), saves the window's picture into SHOT,
# presses Escape and returns the demo's exit status. The tornado turns by frames, not by time, so
# the demo is stopped at that frame while its picture is taken (stop_at_frame.c, preloaded): the
# picture is the same however busy the machine is, under Wine too. Every wait is bounded, so a demo
# or a Wine that hangs fails within a minute. Run it from the folder that holds the demo's textures.
demo_run_home=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The id of the window titled exactly $1, waiting up to $2 seconds. A window gets a new X window
# once when its GL pixel format is set, so the answer is the id that two searches agree on.
demo_find_window() {
  local last= id deadline=$((SECONDS + $2))
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1 || true)
    if [ -n "$id" ] && [ "$id" = "$last" ]; then
      echo "$id"
      return 0
    fi
    last=$id
    sleep 0.3
  done
  return 1
}

# Real input (XTest) after giving the window the focus: Wine, like a real X client, ignores the
# synthetic events that a key sent to a given window would be.
demo_press() {
  timeout 10 xdotool windowactivate --sync "$1" >/dev/null 2>&1 ||
    timeout 10 xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true
  timeout 10 xdotool key "$2"
}

demo_run() {
  local shot=$1 pid box window status=0 dir stopped=
  shift
  dir=$(mktemp -d)
  if ! cc -O2 -shared -fPIC -Wall -Wextra -o "$dir/stop_at_frame.so" \
    "$demo_run_home/stop_at_frame.c" -ldl; then
    rm -rf "$dir"
    return 1
  fi
  LD_PRELOAD="$dir/stop_at_frame.so" STOP_AT_FRAME="${DEMO_FRAMES:-100}" \
    STOP_AT_FRAME_FILE="$dir/stopped" timeout 60 "$@" >/dev/null 2>&1 &
  pid=$!
  if ! box=$(demo_find_window 'Video!' 30); then
    echo "demo_run: the start-up question did not appear" >&2
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    rm -rf "$dir"
    return 1
  fi
  demo_press "$box" n
  if ! window=$(demo_find_window 'Tornado' 20); then
    echo "demo_run: the Tornado window did not appear" >&2
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    rm -rf "$dir"
    return 1
  fi
  local deadline=$((SECONDS + 40))
  while [ $SECONDS -lt $deadline ] && kill -0 "$pid" 2>/dev/null; do
    [ -s "$dir/stopped" ] && stopped=$(cat "$dir/stopped") && break
    sleep 0.1
  done
  if [ -z "$stopped" ]; then
    echo "demo_run: the demo did not draw ${DEMO_FRAMES:-100} frames" >&2
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    rm -rf "$dir"
    return 1
  fi
  # The window may have been given its GL X window only now, on a busy machine: look it up again,
  # and once more if the picture could not be taken.
  local attempt
  for attempt in 1 2 3; do
    window=$(demo_find_window 'Tornado' 10) || true
    [ -n "$window" ] && timeout 20 import -window "$window" "$shot" 2>/dev/null && break
    [ "$attempt" = 3 ] && { echo "demo_run: no picture of the Tornado window" >&2; status=1; }
    sleep 0.5
  done
  kill -CONT "$stopped" 2>/dev/null || true
  rm -rf "$dir"
  demo_press "$window" Escape
  deadline=$((SECONDS + 15))
  while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
  if kill -0 "$pid" 2>/dev/null; then
    echo "demo_run: the demo did not end on Escape" >&2
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    return 1
  fi
  wait "$pid" || status=$?
  return "$status"
}
