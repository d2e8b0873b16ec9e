#!/usr/bin/env bash
# On screen: at start row 0 is current (yellow); Space marks it (cyan) and makes
# row 1 current; Up makes the marked row 0 current (green).
. "$(dirname "$0")/lib.sh"
bb_setup
bb_crontab "$bb_prog/cron.tab" "0 8 * * * NoAction" "*/15 9-17 * 1-12 * NoAction" "0 0 * 0 * NoAction"
bb_start "$bb_prog"
bb_wait_for 20 bb_window_shown || fail "the main window was not shown"
window=$(bb_visible_window TaveCron)

# The row colours met going down the window 30 pixels left of its right edge
# (inside the last column), each run once: "cyan yellow" for instance.
runs() {
  eval "$(xwininfo -id "$window" | sed -n 's/^ *Absolute upper-left \([XY]\): */\1=/p; s/^ *\(Width\|Height\): */\1=/p')"
  import -window root "$bb_root/shot.png"
  /usr/bin/convert "$bb_root/shot.png" -crop "1x$Height+$((X + Width - 30))+$Y" +repage txt:- |
    sed -n 's/.*#FFFF00.*/yellow/p; s/.*#00FFFF.*/cyan/p; s/.*#00FF00.*/green/p' | uniq | paste -sd' '
}
expect_runs() {
  wanted=$1
  bb_wait_for 5 '[ "$(runs)" = "$wanted" ]' || fail "expected \"$1\" down the rows ($2), saw \"$(runs)\""
}

expect_runs "yellow" "at start"
xdotool windowfocus --sync "$window" key space
expect_runs "cyan yellow" "after Space"
xdotool key Up
expect_runs "green" "after Up"
echo "ok"
