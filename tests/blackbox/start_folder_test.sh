#!/usr/bin/env bash
# Without an argument the program loads cron.tab from its own folder, whatever
# the start directory, and runs its due entries at the next change of minute;
# the entry due in the minute of start-up does not run. A program
# whose path holds a blank starts through cmd.exe's start, quoted after an
# empty title (System itself splits at the first blank and reads no quotes).
. "$(dirname "$0")/lib.sh"
bb_minute_in 20  # room for a slow start-up on a busy machine
blank="$bb_prog/with blank"
bb_setup "$(bb_marker_entry '*' next.txt)" "$(bb_marker_entry "$bb_start_minute" startup.txt)" \
  "* * * * * System cmd.exe /c start \"\" \"$(winepath -w "$blank")\\mark.cmd\""
mkdir "$blank" && printf '@echo ran>"%%~dp0ran.txt"\r\n' >"$blank/mark.cmd"
bb_crontab "$bb_elsewhere/cron.tab" "$(bb_marker_entry '*' wrong.txt)"
bb_launch "$bb_elsewhere"
sleep 1  # deliberately: ticks run by now, in the minute of start-up, and must run nothing
[ "$(date -u +%s)" -lt "$bb_boundary" ] || fail "start-up took too long to test the minute of start-up"
bb_wait_for 20 '[ -f "$bb_prog/next.txt" ]' || fail "the due entry did not run at the next minute"
bb_wait_for 10 '[ -f "$blank/ran.txt" ]' || fail "cmd.exe /c start did not start a program in a folder with a blank"
[ ! -e "$bb_prog/startup.txt" ] || fail "the entry of the start-up minute ran"
[ ! -e "$bb_prog/wrong.txt" ] && [ ! -e "$bb_elsewhere/wrong.txt" ] || fail "cron.tab of the start directory was loaded"
