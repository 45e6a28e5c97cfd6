#!/usr/bin/env bash
# Sets up the machine, builds the program and starts it under Wine from
# build/run (its catalogue file stays there between runs). Without a display
# it runs under Xvfb, saves a screenshot of the window and ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/setup.sh
tools/build.sh win32 Quenstrel
run_dir="$root/build/run"
mkdir -p "$run_dir"
cp build/win32/shell/Quenstrel.exe "$run_dir/"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec tools/wine-run.sh "$run_dir/Quenstrel.exe"
fi

source tools/xvfb.sh
shot="$root/build/quenstrel-screenshot.png"
tools/wine-run.sh "$run_dir/Quenstrel.exe" &
app=$!
win=$(quenstrel_window)
status=0
if [ -n "$win" ]; then
  sleep 1  # let it paint
  import -window "$win" "$shot"
  echo "screenshot of the window: $shot"
else
  echo "the window did not appear" >&2
  status=1
fi
# Only this program: the Wine prefix may serve other programs too.
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
exit $status
