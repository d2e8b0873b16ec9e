#!/usr/bin/env bash
# Checks the user guide before a release, for a person to look at it.
# Usage: guide-check.sh GUIDE_DIR [OUT_DIR]
#
# 1. Every file that a GUIDE_DIR/guide-*.html page names by a relative src or
#    href (its pictures, its stylesheet, the other language's page) must be in
#    GUIDE_DIR and not empty; the script fails naming each one that is not.
# 2. With OUT_DIR, both pages are rendered in headless Chromium to
#    OUT_DIR/guide-en.png and OUT_DIR/guide-ja.png, the page's whole height at
#    a window 1000 pixels wide.
#
# Installs nothing: Debian's chromium must be on PATH (or named by CHROMIUM),
# and ImageMagick's /usr/bin/convert, when present, trims the empty space
# below the page. Exit status 0 when all is well, 1 when a named file is
# missing or a page did not render, 2 for wrong arguments or no browser.
set -euo pipefail
[ $# = 1 ] || [ $# = 2 ] || { echo "usage: guide-check.sh GUIDE_DIR [OUT_DIR]" >&2; exit 2; }
guide=$(cd "$1" && pwd)
pages=("$guide/guide-en.html" "$guide/guide-ja.html")

status=0
for page in "${pages[@]}"; do
  [ -s "$page" ] || { echo "guide-check: $page is missing" >&2; status=1; continue; }
  # Relative references only: no scheme, no fragment alone; a fragment or
  # query after a file name is not part of the file's name.
  while IFS= read -r name; do
    [ -s "$guide/$name" ] || { echo "guide-check: $(basename "$page") names $name, missing from $guide" >&2; status=1; }
  done < <(grep -o '\(src\|href\)="[^"]*"' "$page" | sed 's/^[a-z]*="\([^"#?]*\).*/\1/' |
    grep -v -e '^$' -e '^[a-zA-Z][a-zA-Z0-9+.-]*:' | sort -u)
done
[ "$status" = 0 ] || exit "$status"
[ $# = 2 ] || exit 0
mkdir -p "$2"
out=$(cd "$2" && pwd)

browser=${CHROMIUM:-chromium}
command -v "$browser" >/dev/null || { echo "guide-check: no $browser (Debian package chromium) on PATH" >&2; exit 2; }
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT

# The window's height bounds the picture: tall enough for either page, the
# blank rest trimmed afterwards.
height=12000
for page in "${pages[@]}"; do
  shot="$out/$(basename "$page" .html).png"
  rm -f "$shot"
  # --no-sandbox: Chromium refuses to start as root without it.
  timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync --hide-scrollbars \
    --user-data-dir="$profile" --window-size=1000,$height --screenshot="$shot" "file://$page" >/dev/null 2>&1 || true
  [ -s "$shot" ] || { echo "guide-check: Chromium did not render $page" >&2; status=1; continue; }
  if [ -x /usr/bin/convert ]; then
    # The page's extent (WxH+X+Y); content down to the last row means the page was cut.
    read -r h y < <(LC_ALL=C /usr/bin/convert "$shot" -format '%@\n' info: | sed 's/^[0-9]*x\([0-9]*\)+[0-9]*+\([0-9]*\)$/\1 \2/')
    if [ $((h + y)) -ge "$height" ]; then
      echo "guide-check: $page is taller than $height pixels; its picture is cut" >&2
      status=1
    fi
    /usr/bin/convert "$shot" -trim +repage -bordercolor white -border 20 "$shot"
  fi
  echo "guide-check: $shot"
done
exit "$status"
