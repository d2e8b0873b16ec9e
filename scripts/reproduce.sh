#!/usr/bin/env bash
# Builds the release of the commit HEAD twice, each time in a fresh clone in a
# folder of its own (scripts/package.sh --no-render, with its own build trees),
# and compares the results byte for byte: tavecron.exe and tavecron-check.exe
# of both Windows builds, and both zips with every file in them. Changes not
# committed are not part of it. Slow (four cross builds and two Wine sessions
# for the guide's pictures); not part of scripts/test.sh.
# Usage: reproduce.sh [--keep]   (--keep leaves the two folders for a look)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
keep=0
case "${1:-}" in
  "") ;;
  --keep) keep=1 ;;
  *) echo "usage: reproduce.sh [--keep]" >&2; exit 2 ;;
esac
commit=$(git -C "$top" rev-parse HEAD)
version=$(git -C "$top" show "$commit:VERSION" | head -n1)
work=$(mktemp -d)
cleanup() {
  if [ "$keep" = 1 ]; then echo "reproduce: the two builds are in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

for copy in first second; do
  echo "== reproduce: $commit built in $work/$copy =="
  git clone -q --no-hardlinks "$top" "$work/$copy"
  git -C "$work/$copy" checkout -q --detach "$commit"
  (cd "$work/$copy" && bash scripts/package.sh --no-render)
done

differ=0
compare() {
  if cmp -s "$work/first/$1" "$work/second/$1"; then
    echo "same:   $1  $(sha256sum <"$work/first/$1" | cut -c1-16)"
  else
    echo "DIFFER: $1"
    differ=1
  fi
}
for kind in win32 win64; do
  compare "build/$kind/app/tavecron.exe"
  compare "build/$kind/app/check/tavecron-check.exe"
done
for kind in win32 win64; do
  name="tavecron-$version-$kind"
  compare "dist/$name.zip"
  if ! cmp -s "$work/first/dist/$name.zip" "$work/second/dist/$name.zip"; then
    # Which files inside differ (the staged trees are what the zips hold).
    for file in "$work/first/build/package/$name"/*; do
      compare "build/package/$name/$(basename "$file")"
    done
  fi
done
compare dist/SHA256SUMS
if [ "$differ" -ne 0 ]; then
  echo "reproduce: the two builds of $commit differ" >&2
  exit 1
fi
echo "reproduce: both builds of $commit are the same, byte for byte"
