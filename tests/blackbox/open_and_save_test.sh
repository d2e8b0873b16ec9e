#!/usr/bin/env bash
# File, Open and File, Save through the real dialogs with Ctrl+O and Ctrl+S;
# Ctrl+N adds the default row and a Command item from the menu bar names its
# command; Ctrl+A then Ctrl+X empties the table, which saves as an empty file;
# test runs the row due at the UTC minute while the local minute is another.
. "$(dirname "$0")/lib.sh"
bb_setup
# Local time 5 h 30 min ahead of UTC: the local minute is never the UTC one.
export TZ=FAKE-05:30
minute=$((10#$(date -u +%M)))
bb_crontab "$bb_prog/cron.tab" "0 0 0 0 * NoAction start"
bb_crontab "$bb_prog/in.tab" "$(bb_marker_entry "$minute,$(((minute + 1) % 60))" utc.txt)" \
  "30 7 * 12 * SetWP -t a.bmp b.bmp" "0 0 0 0 * NoAction "
bb_start "$bb_prog"
bb_wait_for 20 bb_window_shown || fail "the main window was not shown"
window=$(bb_visible_window TaveCron)

# Answers the file dialog titled $1: types the name $2 over the proposed one, then Return.
answer_dialog() {
  dialog_title=$1
  bb_wait_for 10 '[ -n "$(bb_visible_window "$dialog_title")" ]' || fail "no dialog \"$1\""
  xdotool windowfocus --sync "$(bb_visible_window "$1")" type --delay 20 "$2"
  xdotool key Return
  bb_wait_for 10 '[ -z "$(bb_visible_window "$dialog_title")" ]' || fail "the dialog \"$1\" stayed"
}
# Ctrl+S and the name $1 in the program's folder, where the dialog starts.
save_as() {
  saved_file=$bb_prog/$1
  rm -f "$saved_file"
  xdotool windowfocus --sync "$window" key ctrl+s
  answer_dialog "crontab ﾌｧｲﾙの保存" "$1"
  bb_wait_for 10 '[ -f "$saved_file" ]' || fail "Save wrote no $1"
}

xdotool windowfocus --sync "$window" key ctrl+o
answer_dialog "crontab ﾌｧｲﾙの読み込み" in.tab
save_as out.tab
cmp -s "$bb_prog/in.tab" "$bb_prog/out.tab" || fail "the saved file differs from the opened one"

# Ctrl+N inserts the default row at the current row (the first); the Command
# menu (Alt+C), its second item (System) names its command.
xdotool windowfocus --sync "$window" key ctrl+n sleep 0.3 key alt+c sleep 0.3 key Down Return
save_as added.tab
{ printf '0 * * 0 * System \r\n'; cat "$bb_prog/in.tab"; } | cmp -s - "$bb_prog/added.tab" ||
  fail "Ctrl+N and Command, System did not give the expected first row"

xdotool windowfocus --sync "$window" key ctrl+a sleep 0.3 key ctrl+x
save_as empty.tab
[ ! -s "$bb_prog/empty.tab" ] || fail "Ctrl+A, Ctrl+X left rows in the table"

# test, the bar's last item, reached from the Command menu, on the opened file again.
xdotool windowfocus --sync "$window" key ctrl+o
answer_dialog "crontab ﾌｧｲﾙの読み込み" in.tab
[ ! -e "$bb_prog/utc.txt" ] || fail "the UTC row ran before test"
xdotool windowfocus --sync "$window" key alt+c sleep 0.3 key Right Return
bb_wait_for 10 '[ -f "$bb_prog/utc.txt" ]' || fail "test did not run the row due at the UTC minute"
echo "ok"
