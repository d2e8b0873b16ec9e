#!/usr/bin/env bash
# A second start exits with 0. Closing the window hides it and the program
# goes on; the tray icon's left button shows it again; its right button opens
# the File menu, whose Exit ends the program with 0, also while that menu's
# Save dialog is open. Run: Minimized is honoured.
. "$(dirname "$0")/lib.sh"
bb_setup "0 0 0 0 * NoAction"
bb_launch "$bb_prog"
(cd "$bb_prog" && timeout 30 wine "$bb_prog/tavecron.exe" </dev/null >/dev/null 2>&1) || fail "the second start ended with $?"

bb_close_window
bb_click_tray_icon 1 || fail "no tray icon found"
bb_wait_for 10 bb_window_shown || fail "the tray icon's left button did not show the window"

bb_close_window
# The tray's File menu: the item $1 pixels above its bottom, 37 for Save, 12 for Exit. The
# popup is the program's visible X window with no name (the dialog has one).
tray_menu_item() {
  popup_shown() {
    popup=
    for w in $(xdotool search --onlyvisible --classname '^tavecron\.exe$'); do [ -n "$(xdotool getwindowname "$w")" ] || popup=$w; done
    [ -n "$popup" ]
  }
  bb_click_tray_icon 3 || fail "no tray icon found"
  bb_wait_for 5 popup_shown || fail "the tray icon's right button opened no menu"
  xdotool mousemove --window "$popup" 40 "$(($(bb_size "$popup" Height) - $1))" sleep 0.2 click 1
}
# Exit with the Save dialog open ends the program cleanly, without Wine's crash box. The
# dialog opens over the tray and is moved off it.
tray_menu_item 37
dialog_shown() { dialog=$(bb_visible_window "crontab ﾌｧｲﾙの保存") && [ -n "$dialog" ]; }
bb_wait_for 10 dialog_shown || fail "the tray menu's Save opened no dialog"
xdotool windowmove "$dialog" 500 400
tray_menu_item 12
bb_wait_for 10 '! kill -0 "$bb_pid" 2>/dev/null' || fail "File, Exit did not end the program$([ -z "$(bb_visible_window "プログラム エラー")" ] || echo ": Wine's crash box shows")"
wait "$bb_pid" || fail "the program ended with $?"
bb_pid=

# Started as a shortcut set to Run: Minimized starts it (under Wine a minimized window is a 160 x 24 title).
(cd "$bb_prog" && exec wine start /min /wait /unix "$bb_prog/tavecron.exe" </dev/null >/dev/null 2>&1) &
bb_pid=$!
bb_wait_for 20 bb_window_shown || fail "the minimized window was not shown"
[ "$(bb_size "$(bb_visible_window TaveCron)" Width)" -le 160 ] || fail "start /min did not start the window minimized"
