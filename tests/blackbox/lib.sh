# Shared helpers of the black-box tests. Sourced by each tests/blackbox/*_test.sh,
# which runs inside scripts/wine-session.sh (DISPLAY, WINEPREFIX, WINEDEBUG and
# LC_ALL set; a warm wineserver). TAVECRON_EXE is the built program and
# TAVECRON_TEST_TMP a scratch folder.
set -u

bb_name=$(basename "$0" .sh)
bb_root="${TAVECRON_TEST_TMP:?}/$bb_name"
bb_prog="$bb_root/prog"      # the program's own folder
bb_elsewhere="$bb_root/cwd"  # a different current directory to start from
bb_pid=

fail() {
  echo "FAIL ($bb_name): $*" >&2
  exit 1
}

# Ends every instance of the program in this prefix and waits for the one we
# started, so that the single-instance mutex is gone before the next test.
bb_stop_all() {
  wine taskkill /f /im tavecron.exe >/dev/null 2>&1 </dev/null
  if [ -n "$bb_pid" ]; then
    wait "$bb_pid" 2>/dev/null
    bb_pid=
  fi
  # Boxes and console windows of commands the program started.
  wine taskkill /f /im cmd.exe >/dev/null 2>&1 </dev/null
  return 0
}
trap bb_stop_all EXIT

# A fresh program folder with its own copy of the program, and a fresh other directory.
bb_setup() {
  bb_stop_all
  rm -rf "$bb_root"
  mkdir -p "$bb_prog" "$bb_elsewhere"
  cp "${TAVECRON_EXE:?}" "$bb_prog/tavecron.exe"
}

# Writes crontab lines (one argument each) with CR LF endings to a file.
bb_crontab() {
  local file=$1
  shift
  : >"$file"
  local line
  for line in "$@"; do printf '%s\r\n' "$line" >>"$file"; done
}

# Starts the program in the background from directory $1 with the remaining arguments.
bb_start() {
  local dir=$1
  shift
  (cd "$dir" && exec wine "$bb_prog/tavecron.exe" "$@" </dev/null >/dev/null 2>&1) &
  bb_pid=$!
}

# Polls CONDITION (a shell command) every 0.1 s until it holds or SECONDS pass.
bb_wait_for() {
  local seconds=$1
  shift
  local tries=$((seconds * 10))
  while [ "$tries" -gt 0 ]; do
    if eval "$@"; then return 0; fi
    sleep 0.1
    tries=$((tries - 1))
  done
  return 1
}

# The X window of a visible top-level window whose title is exactly $1.
bb_visible_window() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1
}

bb_window_shown() {
  [ -n "$(bb_visible_window TaveCron)" ]
}

bb_running() {
  [ -n "$bb_pid" ] && kill -0 "$bb_pid" 2>/dev/null
}

# Puts the next local minute boundary of programs started from now on a few
# seconds away: exports TZ with a seconds offset and sets bb_boundary (epoch
# seconds of that boundary) and bb_start_minute (local minute at start).
# $1: seconds from now to the boundary (2 to 59).
bb_minute_in() {
  local lead=$1 now second offset
  now=$(date -u +%s)
  second=$((now % 60))
  offset=$(((60 - lead - second + 120) % 60))
  export TZ=$(printf 'FAKE-00:00:%02d' "$offset")
  bb_boundary=$((now + lead))
  bb_start_minute=$((((now + offset) / 60) % 60))
}

# A System entry line that appends to FILE in the program's folder, due at
# the given minute pattern of every hour, day and month.
bb_marker_entry() {
  printf '%s * * * * System cmd.exe /c echo ran>>%s' "$1" "$2"
}

# Number of lines in a file, 0 when it does not exist.
bb_lines() {
  if [ -f "$1" ]; then grep -c . "$1"; else echo 0; fi
}

# Clicks mouse button $1 on the program's tray icon: the first icon, at the
# left of the client area of the "Wine System Tray" window (its bottom 26
# pixels, below the caption that Wine draws).
bb_click_tray_icon() {
  local button=$1 tray height
  tray=$(bb_visible_window 'Wine System Tray')
  [ -n "$tray" ] || return 1
  height=$(xwininfo -id "$tray" | sed -n 's/^ *Height: *//p')
  # Move away first: the tray notices the pointer only when it enters.
  xdotool mousemove 400 400 sleep 0.2 mousemove --window "$tray" 12 "$((height - 13))" sleep 0.2 click "$button"
}

# Clicks the close button of the caption that Wine draws on window $1.
bb_click_close_button() {
  local window=$1 width
  width=$(xwininfo -id "$window" | sed -n 's/^ *Width: *//p')
  xdotool mousemove 400 400 sleep 0.2 mousemove --window "$window" "$((width - 12))" 8 sleep 0.2 click 1
}
