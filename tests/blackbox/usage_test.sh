#!/usr/bin/env bash
# "-h" shows the usage box before the window; once it is dismissed start-up
# goes on: the window is shown and the file named after the option is loaded,
# a relative name found in the program's folder, not in the start directory.
. "$(dirname "$0")/lib.sh"
bb_minute_in 8
bb_setup "$(bb_marker_entry '*' default.txt)"
mkdir -p "$bb_prog/sub" "$bb_elsewhere/sub"
bb_crontab "$bb_prog/sub/named.tab" "$(bb_marker_entry '*' named.txt)"
bb_crontab "$bb_elsewhere/sub/named.tab" "$(bb_marker_entry '*' wrong.txt)"
bb_start "$bb_elsewhere" -h 'sub\named.tab'
bb_wait_for 20 '[ -n "$(bb_visible_window usage)" ]' || fail "no usage box"
bb_window_shown && fail "the window was shown before the usage box was dismissed"
box=$(bb_visible_window usage)
# Space, not Return: a Return would also reach the table and run its current row.
xdotool windowfocus --sync "$box" key --window "$box" space
bb_wait_for 10 bb_window_shown || fail "start-up did not go on after the usage box"
bb_wait_for 70 '[ -f "$bb_prog/named.txt" ]' || fail "the named file's entry did not run"
[ ! -e "$bb_prog/default.txt" ] || fail "the default cron.tab was loaded instead"
[ ! -e "$bb_prog/wrong.txt" ] && [ ! -e "$bb_elsewhere/wrong.txt" ] || fail "the file was looked up in the start directory"
