#!/usr/bin/env bash
# "-h" shows the usage box before the window; start-up goes on once it is
# dismissed: the window is shown and the crontab file is loaded.
. "$(dirname "$0")/lib.sh"
bb_setup
bb_minute_in 8
bb_crontab "$bb_prog/cron.tab" "$(bb_marker_entry '*' loaded.txt)"
bb_start "$bb_elsewhere" -h
bb_wait_for 20 '[ -n "$(bb_visible_window usage)" ]' || fail "no usage box"
bb_window_shown && fail "the window was shown before the usage box was dismissed"
box=$(bb_visible_window usage)
xdotool windowfocus --sync "$box" key --window "$box" Return
bb_wait_for 10 bb_window_shown || fail "start-up did not go on after the usage box"
[ -z "$(bb_visible_window usage)" ] || fail "the usage box is still open"
bb_wait_for 20 '[ -f "$bb_prog/loaded.txt" ]' || fail "the crontab file was not loaded after the usage box"
echo "ok"
