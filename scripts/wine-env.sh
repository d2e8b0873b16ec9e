# Sourced by the Wine scripts: the environment every Wine run of this project uses.
# Usage: . scripts/wine-env.sh PREFIX
export WINEPREFIX="$1"
export WINEDEBUG=-all
# No Mono or Gecko prompts: the program needs neither .NET nor an HTML engine.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine takes the ANSI code page from the locale: ja_JP.UTF-8 gives code page 932.
export LC_ALL=ja_JP.UTF-8
unset LANG LC_CTYPE LANGUAGE
export WINEARCH=win32

# Creates the prefix when it does not exist yet, under a lock so that parallel
# callers wait for one creation. Windows are unmanaged so that hiding a window
# costs milliseconds rather than seconds under an X server without a window manager.
wine_prefix_ensure() {
  [ -f "$WINEPREFIX/.tavecron-ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.tavecron-ready" ]; then
      wineboot -i >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      # wineboot returns before the prefix's set-up has finished in the
      # background; until it has, window classes such as the list view may be
      # missing. Waiting for the server to go idle and exit lets it finish.
      wineserver -w
      touch "$WINEPREFIX/.tavecron-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}
