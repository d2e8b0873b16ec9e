#!/usr/bin/env bash
# A relative crontab argument is found against the program's folder, not the
# directory the program was started from.
. "$(dirname "$0")/lib.sh"
bb_setup
bb_minute_in 7
mkdir -p "$bb_prog/sub" "$bb_elsewhere/sub"
bb_crontab "$bb_prog/sub/named.tab" "$(bb_marker_entry '*' named.txt)"
bb_crontab "$bb_prog/cron.tab" "$(bb_marker_entry '*' default.txt)"
bb_crontab "$bb_elsewhere/sub/named.tab" "$(bb_marker_entry '*' wrong.txt)"

bb_start "$bb_elsewhere" 'sub\named.tab'
bb_wait_for 20 bb_window_shown || fail "the main window was not shown"
bb_wait_for 20 '[ -f "$bb_prog/named.txt" ]' || fail "the named file's entry did not run"
[ ! -e "$bb_prog/default.txt" ] || fail "the default cron.tab was loaded instead"
[ ! -e "$bb_prog/wrong.txt" ] && [ ! -e "$bb_elsewhere/wrong.txt" ] || fail "the file was looked up in the start directory"
echo "ok"
