# Sourced by each tests/blackbox/*_test.sh, run inside scripts/wine-session.sh; TAVECRON_EXE
# is the built program, TAVECRON_TEST_TMP a scratch folder.
# -u only: the scripts read exit statuses themselves (`check x; [ $? = 1 ]`) and poll with
# commands that fail by design (a window search finding none), which -e or pipefail would end on.
set -u
bb_name=$(basename "$0" .sh)
bb_root="${TAVECRON_TEST_TMP:?}/$bb_name"
bb_prog="$bb_root/prog"      # the program's own folder
bb_elsewhere="$bb_root/cwd"  # a different current directory to start from
bb_pid=

fail() { echo "FAIL ($bb_name): $*" >&2; exit 1; }

# Ends the program's instances in this prefix (and so its mutex) and the consoles it started.
bb_stop_all() {
  wine taskkill /f /im tavecron.exe /im cmd.exe >/dev/null 2>&1 </dev/null
  [ -z "$bb_pid" ] || wait "$bb_pid" 2>/dev/null
  bb_pid=
}
trap bb_stop_all EXIT

# bb_crontab FILE LINE...: the lines with CR LF endings.
bb_crontab() { local file=$1; shift; printf '%s\r\n' "$@" >"$file"; }

# bb_setup LINE...: fresh folders, the program's own with a copy of it and a cron.tab of the lines.
bb_setup() {
  bb_stop_all
  rm -rf "$bb_root" && mkdir -p "$bb_prog" "$bb_elsewhere" && cp "${TAVECRON_EXE:?}" "$bb_prog/tavecron.exe"
  bb_crontab "$bb_prog/cron.tab" "$@"
}

# bb_start DIR ARG...: starts the program in the background from DIR.
bb_start() {
  (cd "$1" && shift && exec wine "$bb_prog/tavecron.exe" "$@" </dev/null >/dev/null 2>&1) &
  bb_pid=$!
}

# bb_wait_for SECONDS CONDITION: polls the shell command every 0.1 s until it holds.
bb_wait_for() {
  local tries=$(($1 * 10)); shift
  until eval "$@"; do ((--tries > 0)) || return 1; sleep 0.1; done
}

# The X window of a visible top-level window titled exactly $1.
bb_visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
bb_window_shown() { [ -n "$(bb_visible_window TaveCron)" ]; }

# bb_launch DIR ARG...: bb_start, then waits for the main window, bb_window.
bb_launch() {
  bb_start "$@"
  bb_wait_for 20 bb_window_shown || fail "the main window was not shown"
  bb_window=$(bb_visible_window TaveCron)
}

# bb_minute_in SECONDS (2 to 59): a TZ whose seconds offset puts the next local minute that far
# away for programs started from now; bb_boundary is its epoch seconds, bb_start_minute the minute now.
bb_minute_in() {
  local now=$(date -u +%s) offset
  offset=$(((60 - $1 - now % 60 + 120) % 60))
  export TZ=$(printf 'FAKE-00:00:%02d' "$offset")
  bb_boundary=$((now + $1))
  bb_start_minute=$((((now + offset) / 60) % 60))
}

# bb_marker_entry MINUTES FILE: an entry appending a line to FILE in the program's folder.
bb_marker_entry() { printf '%s * * * * System cmd.exe /c echo ran>>%s' "$1" "$2"; }

# bb_size WINDOW Width|Height: in pixels, read in the C locale (the session's is Japanese).
bb_size() { LC_ALL=C xwininfo -id "$1" | sed -n "s/^ *$2: *//p"; }

# bb_click_at WINDOW X Y BUTTON, the pointer moved away first (the tray notices it only entering).
bb_click_at() { xdotool mousemove 400 400 sleep 0.2 mousemove --window "$1" "$2" "$3" sleep 0.2 click "$4"; }

# The tray icon is the first in the client area of "Wine System Tray" (the bottom 26 pixels).
bb_click_tray_icon() {
  local tray=$(bb_visible_window 'Wine System Tray')
  [ -n "$tray" ] && bb_click_at "$tray" 12 "$(($(bb_size "$tray" Height) - 13))" "$1"
}

# Hides the main window with the close button Wine draws (after an Alt+F4 from
# xdotool Wine no longer maps the window when it is shown again).
bb_close_window() {
  bb_click_at "$bb_window" "$(($(bb_size "$bb_window" Width) - 12))" 8 1
  bb_wait_for 10 '! bb_window_shown' || fail "closing did not hide the window"
}
