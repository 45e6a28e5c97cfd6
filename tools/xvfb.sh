# Sourced: makes sure DISPLAY names a running X server, starting Xvfb when
# there is none, and stops it when the calling script ends.
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    quenstrel_xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    trap 'kill $quenstrel_xvfb_pid 2>/dev/null || true' EXIT
    break
  done
fi

# Prints the X window ID of the program's main window once it shows, or
# nothing after 30 s.
quenstrel_window() {
  local win=""
  for _ in $(seq 150); do
    win=$(xdotool search --onlyvisible --name '^Quenstrel' 2>/dev/null | head -n1 || true)
    [ -n "$win" ] && break
    sleep 0.2
  done
  echo "$win"
}
