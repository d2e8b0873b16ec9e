#!/usr/bin/env bash
# Sets up the machine, builds tavecron.exe and starts it under Wine: the 32-bit
# program (PE32, build/win32) where this host runs 32-bit code, the 64-bit one
# (PE32+, build/win64) where it does not.
#
# The program runs on the display in DISPLAY when there is one. Without one it
# runs on a private Xvfb display; the script then says how to look at it.
# A sample schedule (docs/cron.tab) is put beside the program the first time;
# an existing cron.tab there is kept. File, Exit (Ctrl+Q) ends the program;
# closing its window only hides it (the tray icon shows it again).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh
. scripts/wine-env.sh
kind=$(wine_default_build)
if [ "$kind" = win32 ]; then
  echo "Running the 32-bit program (PE32, build/win32): this host runs 32-bit code."
else
  echo "Running the 64-bit program (PE32+, build/win64): this host runs no 32-bit code, so the 32-bit program cannot start here."
fi
scripts/build.sh "$kind" tavecron

program_dir="$top/build/$kind/app"
if [ ! -e "$program_dir/cron.tab" ]; then
  cp docs/cron.tab "$program_dir/cron.tab"
fi

# Runs inside the Wine session (scripts/wine-session.sh), which provides the
# display, the prefix and the wine server.
run_in_session() {
  if [ "${TAVECRON_OWN_XVFB:-0}" = 1 ]; then
    echo "No DISPLAY: tavecron.exe runs on the private Xvfb display $DISPLAY."
    echo "To look at it, from another shell:"
    echo "  DISPLAY=$DISPLAY import -window root /tmp/tavecron.png   # a screenshot"
    if command -v x11vnc >/dev/null 2>&1; then
      echo "  x11vnc -display $DISPLAY -localhost -nopw               # then a VNC viewer on localhost:5900"
    fi
    echo "Stop it with Ctrl+C here."
  else
    echo "tavecron.exe runs on display $DISPLAY (File, Exit or Ctrl+Q ends it)."
  fi
  cd "$program_dir"
  wine "$program_dir/tavecron.exe" "$@"
}
export -f run_in_session
export program_dir

if [ -n "${DISPLAY:-}" ]; then
  export TAVECRON_USE_DISPLAY=1 TAVECRON_OWN_XVFB=0
else
  export TAVECRON_OWN_XVFB=1
fi
exec scripts/wine-session.sh "build/$kind" bash -c 'run_in_session "$@"' run "$@"
