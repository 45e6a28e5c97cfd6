#!/usr/bin/env bash
# Prepares run directories that cannot take a save and runs the mount tests
# in them:  editing_mounts.sh e2e_editing_mount_test.exe Quenstrel.exe CATALOGUE
# - a read-only bind mount, with and without a catalogue file in it;
# - a small tmpfs filled until only one page is free, so the old catalogue is
#   there but a new one cannot be written, with and without the file.
# Root is needed for the mounts (and ignores permission bits, hence mounts).
# A fault that cannot be set up fails the test, loudly.
set -euo pipefail
test_exe=$1 program=$2 catalogue=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
wine_run="$root/tools/wine-run.sh"
catalogue_name="汇编指令集.txt"

source "$root/tools/xvfb.sh"   # sets its own trap: ours, below, replaces it
work=$(mktemp -d /tmp/quenstrel-mounts.XXXXXX)
mounts=()
cleanup() {
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
  if [ -n "${quenstrel_xvfb_pid:-}" ]; then kill "$quenstrel_xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
fail() {
  echo "editing_mounts: CANNOT SET UP THE FAULT: $*" >&2
  exit 1
}
[ "$(id -u)" = 0 ] || fail "mounting needs root"

windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

read_only() {
  local dir="$work/$1" with_file=$2
  mkdir "$dir"
  cp "$program" "$dir/Quenstrel.exe"
  if [ "$with_file" = yes ]; then cp "$catalogue" "$dir/$catalogue_name"; fi
  mount --bind "$dir" "$dir" || fail "mount --bind $dir"
  mounts+=("$dir")
  mount -o remount,bind,ro "$dir" || fail "remount read-only $dir"
  if touch "$dir/probe" 2>/dev/null; then fail "$dir is still writable"; fi
}

nearly_full() {
  local dir="$work/$1" with_file=$2
  mkdir "$dir"
  local kib=$(( ($(stat -c %s "$program") + $(stat -c %s "$catalogue")) / 1024 + 256 ))
  mount -t tmpfs -o "size=${kib}k" tmpfs "$dir" || fail "mount tmpfs on $dir"
  mounts+=("$dir")
  cp "$program" "$dir/Quenstrel.exe"
  if [ "$with_file" = yes ]; then cp "$catalogue" "$dir/$catalogue_name"; fi
  dd if=/dev/zero of="$dir/filler" bs=4096 2>/dev/null || true   # until the disk is full
  truncate -s "-4096" "$dir/filler"                                 # one page free again
  local free
  free=$(( $(stat -f -c '%a * %S' "$dir") ))
  [ "$free" -gt 0 ] && [ "$free" -lt "$(stat -c %s "$catalogue")" ] ||
    fail "$dir has $free bytes free, not a little less than a catalogue"
}

read_only readonly-empty no
read_only readonly yes
nearly_full full-empty no
nearly_full full yes

export QUENSTREL_E2E_READONLY_EMPTY=$(windows_path "$work/readonly-empty")
export QUENSTREL_E2E_READONLY=$(windows_path "$work/readonly")
export QUENSTREL_E2E_FULL_EMPTY=$(windows_path "$work/full-empty")
export QUENSTREL_E2E_FULL=$(windows_path "$work/full")
"$wine_run" "$test_exe"
