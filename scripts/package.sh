#!/usr/bin/env bash
# Builds the release package dist/tavecron-<version>-win32.zip from this tree:
# tavecron.exe, tavecron-check.exe, a sample cron.tab and the user guide in
# English and Japanese with pictures of the real program, taken under Wine and
# Xvfb while the package is made. The version comes from the VERSION file.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh

version=$(head -n1 VERSION)
name="tavecron-$version-win32"
build=build/win32
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build" -j"$(nproc)" --target tavecron tavecron-check

stage="$top/$build/package/$name"
rm -rf "$stage"
mkdir -p "$stage" dist
cp "$build/app/tavecron.exe" "$build/app/check/tavecron-check.exe" "$stage/"
# Windows tools expect CR LF line ends in the sample schedule.
sed 's/\r$//; s/$/\r/' docs/cron.tab >"$stage/cron.tab"
for guide in docs/guide/guide-*.html; do
  sed "s/@VERSION@/$version/g" "$guide" >"$stage/$(basename "$guide")"
done
cp docs/guide/guide.css "$stage/"

scripts/wine-session.sh "$build" bash scripts/guide-pictures.sh "$stage/tavecron.exe" "$stage"

for file in tavecron.exe tavecron-check.exe cron.tab guide-en.html guide-ja.html guide.css \
  main-window.png cell-editor.png command-menu.png; do
  [ -s "$stage/$file" ] || { echo "package: $file is missing" >&2; exit 1; }
done
rm -f "dist/$name.zip"
(cd "$stage/.." && cmake -E tar cf "$top/dist/$name.zip" --format=zip "$name")
echo "dist/$name.zip:"
(cd "$stage/.." && find "$name" -type f | sort | sed 's/^/  /')
