#!/usr/bin/env bash
# scripts/screenshots still drives the program through every window it shows:
# each picture is written, small enough for the repository, and no two are
# the same (a window that did not open leaves the one before it on screen).
set -euo pipefail
build="$1" src="$2"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
bash "$src/scripts/screenshots" --build "$build" --out "$out"
fail() { echo "screenshots test: $*" >&2; exit 1; }
names="main-window text-work listening vocabulary-drill question teacher-console"
for f in $names; do
  [ -s "$out/$f.png" ] || fail "$f.png missing"
  size=$(stat -c %s "$out/$f.png")
  [ "$size" -lt 153600 ] || fail "$f.png is $size bytes"
done
[ "$(md5sum "$out"/*.png | cut -d' ' -f1 | sort -u | wc -l)" -eq 6 ] || fail "two pictures are the same"
echo "screenshots test: ok"
