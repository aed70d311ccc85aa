# Sourced by the scripts: start_xvfb starts an Xvfb server of 1920 x 1080 x 24 with GLX on a free
# display number, exports DISPLAY and stops the server when the calling script exits.
start_xvfb() {
  local fifo dir
  dir=$(mktemp -d)
  fifo="$dir/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1920x1080x24 +extension GLX -nolisten tcp -noreset 3>"$fifo" \
    >"$dir/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local number
  if ! read -r -t 20 number <"$fifo"; then
    echo "Xvfb did not start:" >&2
    cat "$dir/xvfb.log" >&2
    return 1
  fi
  rm -rf "$dir"
  export DISPLAY=":$number"
  trap stop_xvfb EXIT
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}
