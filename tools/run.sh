#!/usr/bin/env bash
# Sets up the machine, builds the program and starts it under Wine. Without a
# display it runs under Xvfb, saves a screenshot of the window and ends.
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
for _ in $(seq 100); do
  win=$(xdotool search --name '^Quenstrel' 2>/dev/null | head -n1 || true)
  [ -n "$win" ] && break
  sleep 0.2
done
sleep 1
if [ -n "${win:-}" ]; then
  import -window "$win" "$shot" && echo "screenshot of the window: $shot"
else
  echo "the window did not appear" >&2
fi
kill $app 2>/dev/null || true
WINEPREFIX="$root/build/wineprefix" wineserver -k 2>/dev/null || true
