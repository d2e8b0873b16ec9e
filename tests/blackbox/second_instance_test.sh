#!/usr/bin/env bash
# A second start while one instance runs shows no window and exits with 0;
# the first instance goes on.
. "$(dirname "$0")/lib.sh"
bb_setup
bb_crontab "$bb_prog/cron.tab" "0 0 0 0 * NoAction"
bb_start "$bb_prog"
bb_wait_for 20 bb_window_shown || fail "the first instance showed no window"

(cd "$bb_prog" && timeout 30 wine "$bb_prog/tavecron.exe" </dev/null >/dev/null 2>&1)
rc=$?
[ "$rc" -eq 0 ] || fail "the second instance ended with $rc"
count=$(xdotool search --name '^TaveCron$' 2>/dev/null | wc -l)
[ "$count" -eq 1 ] || fail "$count main windows exist"
bb_running || fail "the first instance ended"
bb_window_shown || fail "the first instance's window went away"
echo "ok"
