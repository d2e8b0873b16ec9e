#!/usr/bin/env bash
# Closing the window hides it and the program goes on; a left click on the
# tray icon shows it again.
. "$(dirname "$0")/lib.sh"
bb_setup
bb_crontab "$bb_prog/cron.tab" "0 0 0 0 * NoAction"
bb_start "$bb_prog"
bb_wait_for 20 bb_window_shown || fail "the main window was not shown"
window=$(bb_visible_window TaveCron)

# The caption's close button. (Alt+F4 sent with xdotool hides the window as
# well, but leaves Wine in a state where the window is no longer mapped when
# shown again; a real close button click does not.)
bb_click_close_button "$window"
bb_wait_for 10 '! bb_window_shown' || fail "closing did not hide the window"
sleep 0.5
bb_running || fail "closing ended the program"

bb_click_tray_icon 1 || fail "no tray icon found"
bb_wait_for 10 bb_window_shown || fail "the tray icon's left button did not show the window"
bb_running || fail "the program ended"
echo "ok"
