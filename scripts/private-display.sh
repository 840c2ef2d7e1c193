# Sourced by the scripts that run tests on a display: unless DN_USE_DISPLAY is
# set, starts a private Xvfb display (the server picks a free number), exports
# DISPLAY and stops the server when the calling script exits.
xvfb_pid=""
stop_private_display() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}

start_private_display() {
  [ -n "${DN_USE_DISPLAY:-}" ] && return 0
  local display_file
  display_file=$(mktemp)
  # -noreset: a server that resets when its last client leaves refuses
  # connections meanwhile, and the next test's window would find no display.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$display_file")"
  rm -f "$display_file"
}
