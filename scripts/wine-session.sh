#!/usr/bin/env bash
# Runs a command inside a Wine session: a private Xvfb display, the build tree's
# prefix and loader (scripts/wine-env.sh) and a warm, persistent wineserver,
# all ended afterwards.
# Usage: wine-session.sh BUILD_DIR COMMAND [ARGS...]
# Without a warm server each Wine start costs seconds and ctest can hang on the
# service processes that inherit its output pipes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
shift
. "$here/wine-env.sh"
wine_env "$build"
wine_prefix_ensure

xvfb_pid=
fdfile=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null; fi
  rm -f "$fdfile"
}
trap cleanup EXIT INT TERM

if [ "${TAVECRON_USE_DISPLAY:-0}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
  fdfile=$(mktemp)
  Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp >"$fdfile" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$fdfile")"
fi
export TAVECRON_BUILD_DIR="$build"

wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
"$@"
