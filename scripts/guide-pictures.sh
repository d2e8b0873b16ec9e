#!/usr/bin/env bash
# Takes the user guide's pictures of the real program. Runs inside
# scripts/wine-session.sh (display, prefix and wine server ready).
# Usage: guide-pictures.sh TAVECRON_EXE OUT_DIR
# Loads the sample schedule that ships (docs/cron.tab, four rows) and writes
# main-window.png (plain, marked and current rows), cell-editor.png
# (the editor open on the current row) and command-menu.png (the Command menu
# opened from a command cell). The guide's pictures are kept in docs/guide/,
# so that the guide reads whole from the repository; after a change that shows
# in them, refresh them with
#   scripts/build.sh win64 tavecron
#   scripts/wine-session.sh build/win64 bash scripts/guide-pictures.sh build/win64/app/tavecron.exe docs/guide
# and look at them before committing.
set -euo pipefail
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
out=$(cd "$2" && pwd)
work=$(mktemp -d)
pid=
cleanup() {
  wine taskkill /f /im tavecron.exe >/dev/null 2>&1 </dev/null || true
  [ -n "$pid" ] && wait "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

cp "$exe" "$work/tavecron.exe"
# The sample schedule that ships, so that the guide shows what a user first sees.
cp "$(dirname "$0")/../docs/cron.tab" "$work/cron.tab"
(cd "$work" && exec wine "$work/tavecron.exe" </dev/null >/dev/null 2>&1) &
pid=$!

window=
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --name '^TaveCron$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "guide-pictures: the main window did not appear" >&2; exit 1; }
# Without a window manager a click on the caption is what activates the
# window under Wine; clicks on an inactive window's cells open no editor.
xdotool mousemove --window "$window" 100 8 click 1 sleep 0.5

# Row r of the table lies 63 + 14 r pixels below the window's top (caption,
# menu bar and header above it); the command column spans x 128 to 256.
row_y() { echo $((63 + 14 * $1)); }
window_shot() {
  sleep 0.5
  eval "$(LC_ALL=C xwininfo -id "$window" | sed -n 's/^ *Absolute upper-left \([XY]\): */\1=/p; s/^ *\(Width\|Height\): */\1=/p')"
  import -window root "$work/root.png"
  # -strip: no dates or other metadata in the file, only the pixels.
  /usr/bin/convert "$work/root.png" -crop "$((Width + $2))x$((Height + $3))+$X+$Y" +repage -strip "$out/$1"
}

# Row 1 marked (cyan), row 3 current (yellow, framed).
xdotool key Down sleep 0.2 key space sleep 0.2 key Down
window_shot main-window.png 0 0

# A click on the current row's option cell opens the editor there.
xdotool mousemove --window "$window" 330 "$(row_y 3)" click 1
window_shot cell-editor.png 0 0
xdotool key Escape sleep 0.3

# A right click on a command cell makes its row current and opens the Command menu.
xdotool mousemove --window "$window" 190 "$(row_y 2)" click 3
window_shot command-menu.png 0 0
xdotool key Escape
echo "guide-pictures: wrote main-window.png, cell-editor.png and command-menu.png to $out"
