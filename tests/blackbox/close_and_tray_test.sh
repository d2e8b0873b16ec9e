#!/usr/bin/env bash
# A second start exits with 0 and shows no window. Closing the window hides it
# and the program goes on; the tray icon's left button shows it again; its
# right button opens the File menu, whose Exit ends the program with 0 and
# takes the icon away.
. "$(dirname "$0")/lib.sh"
bb_setup "0 0 0 0 * NoAction"
bb_launch "$bb_prog"
(cd "$bb_prog" && timeout 30 wine "$bb_prog/tavecron.exe" </dev/null >/dev/null 2>&1) || fail "the second start ended with $?"
[ "$(xdotool search --name '^TaveCron$' 2>/dev/null | wc -l)" -eq 1 ] || fail "a second main window exists"
bb_running || fail "the second start ended the first instance"

bb_close_window
sleep 0.5
bb_running || fail "closing ended the program"
bb_click_tray_icon 1 || fail "no tray icon found"
bb_wait_for 10 bb_window_shown || fail "the tray icon's left button did not show the window"

bb_close_window
bb_click_tray_icon 3 || fail "no tray icon found"
# The popup is then the program's only visible X window; Exit is its last item.
popup_shown() { popup=$(xdotool search --onlyvisible --classname '^tavecron\.exe$' | head -n1) && [ -n "$popup" ]; }
bb_wait_for 5 popup_shown || fail "the tray icon's right button opened no menu"
xdotool mousemove --window "$popup" 40 "$(($(xwininfo -id "$popup" | sed -n 's/^ *Height: *//p') - 12))" sleep 0.2 click 1
bb_wait_for 10 '! bb_running' || fail "File, Exit did not end the program"
wait "$bb_pid" || fail "the program ended with $?"
bb_pid=
bb_wait_for 5 '[ -z "$(bb_visible_window "Wine System Tray")" ]' || fail "the tray icon stayed after Exit"
