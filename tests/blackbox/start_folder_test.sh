#!/usr/bin/env bash
# Without an argument the program loads cron.tab from its own folder, whatever
# the start directory, and runs its due entries once at the next change of
# minute; the entry due in the minute of start-up does not run.
. "$(dirname "$0")/lib.sh"
bb_minute_in 8
bb_setup "$(bb_marker_entry '*' next.txt)" "$(bb_marker_entry "$bb_start_minute" startup.txt)"
bb_crontab "$bb_elsewhere/cron.tab" "$(bb_marker_entry '*' wrong.txt)"
bb_launch "$bb_elsewhere"
sleep 1  # ticks have run by now, in the minute of start-up
[ "$(date -u +%s)" -lt "$bb_boundary" ] || fail "start-up took too long to test the minute of start-up"
[ "$(bb_lines "$bb_prog/next.txt")" -eq 0 ] || fail "an entry ran in the minute of start-up"
bb_wait_for 20 '[ -f "$bb_prog/next.txt" ]' || fail "the due entry did not run at the next minute"
sleep 1.5
[ "$(bb_lines "$bb_prog/next.txt")" -eq 1 ] || fail "the due entry ran $(bb_lines "$bb_prog/next.txt") times"
[ ! -e "$bb_prog/startup.txt" ] || fail "the entry of the start-up minute ran"
[ ! -e "$bb_prog/wrong.txt" ] && [ ! -e "$bb_elsewhere/wrong.txt" ] || fail "cron.tab of the start directory was loaded"
