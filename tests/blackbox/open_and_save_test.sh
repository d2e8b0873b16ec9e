#!/usr/bin/env bash
# A first run without cron.tab: Ctrl+N, then Ctrl+S and Return save the row to cron.tab beside the
# program. Through the real dialogs and menu bar: Ctrl+O, then Ctrl+N, an edit and a Command item
# save the row ahead of the opened ones; Ctrl+A, Ctrl+X in the editor save an empty file; test runs
# the row due at the UTC minute while the local minute differs.
. "$(dirname "$0")/lib.sh"
export TZ=FAKE-05:30 # local time 5 h 30 min ahead of UTC: the next 20 UTC minutes are no local one
utc_minutes=$(for i in $(seq 0 20); do echo $(((10#$(date -u +%M) + i) % 60)); done | paste -sd,)
bb_setup && rm "$bb_prog/cron.tab"
bb_crontab "$bb_prog/in.tab" "$(bb_marker_entry "$utc_minutes" utc.txt)" \
  "30 7 * 12 * SetWP -t a.bmp b.bmp" "0 0 0 0 * NoAction "
bb_launch "$bb_elsewhere"

# Ctrl+$1, then the name $2 typed over the proposed one (the dialogs start in
# the program's folder; $3, when given, is typed instead) and Return.
file_dialog() {
  local title="crontab ﾌｧｲﾙの保存"
  [ "$1" = o ] && title="crontab ﾌｧｲﾙの読み込み" || rm -f "$bb_prog/$2"
  xdotool windowfocus --sync "$bb_window" key "ctrl+$1"
  bb_wait_for 10 '[ -n "$(bb_visible_window "$title")" ]' || fail "no dialog for Ctrl+$1"
  xdotool windowfocus --sync "$(bb_visible_window "$title")" type --delay 20 "${3-$2}"
  xdotool key Return
  bb_wait_for 10 '[ -z "$(bb_visible_window "$title")" ]' || fail "the dialog for Ctrl+$1 stayed"
  [ "$1" = o ] || bb_wait_for 10 "[ -f '$bb_prog/$2' ]" || fail "Save wrote no $2"
}

xdotool windowfocus --sync "$bb_window" key ctrl+n
file_dialog s cron.tab ""  # the proposed name: what start-up looked for
[ "$(cat "$bb_prog/cron.tab")" = $'0 * * 0 * NoAction \r' ] || fail "the first start's Save did not write the row"

file_dialog o in.tab

# Ctrl+N adds the default row at the current (first) row; a click on its option cell opens
# the editor, where x is typed; the Command menu's second item stores the edit and names System.
edit_row_0() { xdotool mousemove --window "$bb_window" 330 62 click 1 type --delay 20 "$1"; }
xdotool windowfocus --sync "$bb_window" key ctrl+n && edit_row_0 x
xdotool key alt+c Down Return
file_dialog s added.tab
{ printf '0 * * 0 * System x\r\n'; cat "$bb_prog/in.tab"; } | cmp -s - "$bb_prog/added.tab" ||
  fail "Ctrl+N, an edit and Command, System did not give the expected first row"
edit_row_0 y && xdotool key ctrl+a ctrl+x
file_dialog s empty.tab
[ ! -s "$bb_prog/empty.tab" ] || fail "Ctrl+A, Ctrl+X in the editor left rows in the table"

# test, the bar item after the Command menu, on the opened file again.
file_dialog o in.tab
[ ! -e "$bb_prog/utc.txt" ] || fail "the UTC row ran before test"
xdotool windowfocus --sync "$bb_window" key alt+c Right Return
bb_wait_for 10 '[ -f "$bb_prog/utc.txt" ]' || fail "test did not run the row due at the UTC minute"
