# Sourced: start_xvfb starts an Xvfb of our own on a free display number,
# exports DISPLAY for it and stops it when the sourcing script ends.
start_xvfb() {
  xvfb_display=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$xvfb_display" 2>/dev/null &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -f "$xvfb_display"' EXIT
  for _ in $(seq 100); do [ -s "$xvfb_display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$xvfb_display")"
}
