#!/usr/bin/env bash
# Builds the release packages from this tree: dist/tavecron-<version>-win32.zip
# (the 32-bit PE32 programs, for 32-bit Windows) and
# dist/tavecron-<version>-win64.zip (the 64-bit PE32+ programs, for 64-bit
# Windows). Each holds its own tavecron.exe and tavecron-check.exe, a sample
# cron.tab and the user guide in English and Japanese with pictures of the
# real program, taken under Wine and Xvfb while the packages are made, with
# the build this host runs (scripts/wine-env.sh). The version comes from the
# VERSION file. Before the zips are written, scripts/guide-check.sh checks that
# every file a guide page names is there and renders both pages in headless
# Chromium to dist/guide-en.png and dist/guide-ja.png, for a person to look at.
# Each zip is then read back: it must hold exactly the staged files.
# The zips are the same bytes whenever the same commit is packed (entries in
# name order, each dated at the commit's time, SOURCE_DATE_EPOCH when set),
# and dist/SHA256SUMS holds their sums (scripts/reproduce.sh compares two
# builds of one commit).
# Usage: package.sh [--no-render]
#   --no-render  all of the above but the rendering in Chromium, which needs no
#                browser: the part that scripts/test.sh runs.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
case "${1:-}" in
  "") render=1 ;;
  --no-render) render=0 ;;
  *) echo "usage: package.sh [--no-render]" >&2; exit 2 ;;
esac
if [ "$render" = 1 ]; then bash scripts/setup.sh chromium; else bash scripts/setup.sh; fi
. scripts/wine-env.sh

version=$(head -n1 VERSION)
# Every date inside the zips: the commit's time, or 1980-01-01, a zip's first day.
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
pictures="$top/build/package/pictures"
rm -rf "$pictures"
mkdir -p "$pictures" dist
for kind in win32 win64; do
  scripts/build.sh "$kind" tavecron tavecron-check
  scripts/check-pe.sh "build/$kind"
done
shooter=$(wine_default_build)
scripts/wine-session.sh "build/$shooter" bash scripts/guide-pictures.sh "build/$shooter/app/tavecron.exe" "$pictures"

for kind in win32 win64; do
  name="tavecron-$version-$kind"
  stage="$top/build/package/$name"
  rm -rf "$stage"
  mkdir -p "$stage"
  cp "build/$kind/app/tavecron.exe" "build/$kind/app/check/tavecron-check.exe" "$stage/"
  # Windows tools expect CR LF line ends in the sample schedule.
  sed 's/\r$//; s/$/\r/' docs/cron.tab >"$stage/cron.tab"
  # The guide names its release in a comment that the package fills in.
  for guide in docs/guide/guide-*.html; do
    sed "s/<!--@VERSION@-->/ $version/g" "$guide" >"$stage/$(basename "$guide")"
  done
  cp docs/guide/guide.css "$pictures"/*.png "$stage/"
  if [ "$kind" = win32 ]; then
    if [ "$render" = 1 ]; then
      bash scripts/guide-check.sh "$stage" dist
    else
      bash scripts/guide-check.sh "$stage"
      echo "package: the guide's rendering in Chromium skipped (--no-render)"
    fi
  fi
  for file in tavecron.exe tavecron-check.exe cron.tab guide-en.html guide-ja.html guide.css \
    main-window.png cell-editor.png command-menu.png; do
    [ -s "$stage/$file" ] || { echo "package: $file is missing from $name" >&2; exit 1; }
  done
  rm -f "dist/$name.zip"
  # Entries in name order, each with the same date and mode, whatever the
  # staging left on the files.
  python3 - "$stage" "$name" "dist/$name.zip" "$epoch" <<'PY'
import os, sys, time, zipfile
stage, name, out, epoch = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
date = time.gmtime(max(epoch, 315532800))[:6]
with zipfile.ZipFile(out, "w") as archive:
    for file in sorted(os.listdir(stage)):
        entry = zipfile.ZipInfo(f"{name}/{file}", date_time=date)
        entry.create_system = 3
        entry.external_attr = 0o100644 << 16  # a regular file, rw-r--r--
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(stage, file), "rb") as data:
            archive.writestr(entry, data.read(), compresslevel=9)
PY
  # Read back: the zip must hold exactly the staged files, byte for byte.
  readback="$top/build/package/readback"
  rm -rf "$readback" && mkdir -p "$readback"
  (cd "$readback" && cmake -E tar xf "$top/dist/$name.zip")
  diff -r "$stage" "$readback/$name" >&2 || { echo "package: dist/$name.zip differs from what was staged" >&2; exit 1; }
  echo "dist/$name.zip (pictures taken with the $shooter build):"
  (cd "$stage/.." && find "$name" -type f | sort | sed 's/^/  /')
done
names=()
for kind in win32 win64; do names+=("tavecron-$version-$kind.zip"); done
(cd dist && sha256sum "${names[@]}" >SHA256SUMS)
echo "dist/SHA256SUMS:"
sed 's/^/  /' dist/SHA256SUMS
