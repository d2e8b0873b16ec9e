#!/usr/bin/env bash
# With the real keyboard and mouse: a click makes a row current and Enter runs
# it; a second click opens the editor on the clicked cell; the typed option,
# stored by Tab and Enter, is what Up and Enter run next.
. "$(dirname "$0")/lib.sh"
# Month 0 never matches the clock: only Enter runs these rows.
bb_setup "0 0 0 0 * NoAction" "0 0 0 0 * System cmd.exe /c echo ran>>first.txt" "0 0 0 0 * NoAction"
bb_launch "$bb_prog"

# A click on row 1's option cell (in pixels of the window as Wine draws it here), then the xdotool steps given.
click_option_of_row_1() { xdotool mousemove --window "$bb_window" 330 77 click 1 "$@"; }
xdotool windowfocus --sync "$bb_window" && click_option_of_row_1 key Return
bb_wait_for 10 '[ -f "$bb_prog/first.txt" ]' || fail "Enter did not run the clicked row"
# The command's console takes the activation; once it is gone a click on the
# caption gives it back (a click on a cell of an inactive window moves the
# current row but opens no editor under Wine without a window manager).
console_shown() { [ -n "$(xdotool search --onlyvisible --name 'cmd\.exe$')" ]; }
bb_wait_for 3 console_shown
bb_wait_for 10 '! console_shown' || fail "the console stayed"
xdotool mousemove --window "$bb_window" 100 8 click 1
bb_wait_for 5 '[ "$(xdotool getwindowfocus)" = "$bb_window" ]' || fail "a click on the caption did not activate the window"
click_option_of_row_1 key End key --repeat 40 --delay 10 BackSpace type --delay 20 "cmd.exe /c mkdir edited"
xdotool key Tab Return Up Return  # taken in order, as typed
bb_wait_for 10 '[ -d "$bb_prog/edited" ]' || fail "Enter did not run the edited option"
[ "$(bb_lines "$bb_prog/first.txt")" -eq 1 ] || fail "the row ran with its old option as well"
