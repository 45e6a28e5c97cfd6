#!/usr/bin/env bash
# Types into the real window with real key events under X and keeps a
# screenshot: smoke_test.sh Quenstrel.exe e2e_probe.exe screenshot.png
set -euo pipefail
program=$1 probe=$2 shot=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
wine_run="$root/tools/wine-run.sh"
source "$root/tools/xvfb.sh"

run_dir=$(mktemp -d)
app=""
cleanup() {
  if [ -n "$app" ]; then kill "$app" 2>/dev/null || true; fi
  rm -rf "$run_dir"
  if [ -n "${quenstrel_xvfb_pid:-}" ]; then kill "$quenstrel_xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
cp "$program" "$run_dir/Quenstrel.exe"

fail() { echo "smoke: $*" >&2; exit 1; }
probe() { "$wine_run" "$probe" "$1" | tr -d '\r'; }
# Waits until `probe $1` prints $2.
expect() {
  for _ in $(seq 100); do
    [ "$(probe "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  fail "$1 is \"$(probe "$1")\", not \"$2\""
}

"$wine_run" "$run_dir/Quenstrel.exe" &
app=$!
win=$(quenstrel_window)
[ -n "$win" ] || fail "the window did not appear"
sleep 0.5
xdotool windowfocus "$win" 2>/dev/null || true
expect focus 105   # the query box

# Keys come slowly enough for each search to finish before the next key: a
# key that lands inside a search runs its own search nested in it, and the
# older result is then appended after the newer one, as designed.
xdotool type --delay 200 movs
expect query movs
expect description "$(printf 'MOVS           串传送.(MOVSB传送字符.MOVSW传送字.MOVSD传送双字.)\nMOVSX          先符号扩展,再传送.')"
xdotool key --delay 200 BackSpace BackSpace BackSpace BackSpace
expect description ""

xdotool type --delay 200 jcq
xdotool key Return
for _ in $(seq 100); do
  [ "$(probe description | awk '{print $1}' | paste -sd ' ')" = "ASSUME BSWAP LAHF OUT SAHF XCHG" ] && break
  sleep 0.1
done
[ "$(probe description | awk '{print $1}' | paste -sd ' ')" = "ASSUME BSWAP LAHF OUT SAHF XCHG" ] ||
  fail "Enter after jcq shows: $(probe description)"
expect focus 105

sleep 0.5
mkdir -p "$(dirname "$shot")"
import -window "$win" "$shot"
echo "smoke: screenshot in $shot"

# Colours that must be on screen: violet group-box captions, blue labels and
# description text, red transparent labels, light blue list items. Text is
# antialiased, so only a few pixels have the exact colour.
for colour in 9000FF 0060C0 FF0000 0088FF; do
  n=$(convert "$shot" -depth 8 txt:- | grep -ci "#$colour" || true)
  [ "$n" -ge 10 ] || fail "hardly any #$colour in the screenshot ($n pixels)"
done

xdotool key shift+Tab
expect focus 102   # back from the query box to the list
xdotool key Escape
for _ in $(seq 100); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app" 2>/dev/null; then fail "Esc did not end the program"; fi
wait "$app" || fail "the program ended with an error"
app=""
echo "smoke: passed"
