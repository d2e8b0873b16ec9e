# Sourced by every script that runs Windows programs: the one place that knows
# what this host can run and how a build tree's programs are started.
#   . scripts/wine-env.sh            defines the functions below
#   wine_host_runs_i386              true when this host runs 32-bit x86 code
#   wine_default_build               win32 where it does, win64 otherwise
#   wine_env BUILD_DIR               exports the Wine environment of that build
#   wine_prefix_ensure               creates the build's prefix on first use
#
# The build tree's wine-arch file (written when CMake configures it) says its
# kind: win32 for the PE32 program, win64 for the PE32+ one. Each kind has a
# prefix of its own inside its tree. Some x86-64 hosts run 64-bit code only:
# there no 32-bit Wine loader or server can start, and only the win64 build
# runs. TAVECRON_HOST_I386=0 in the environment makes any host behave so.
wine_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Decided once per run of the scripts and exported to the scripts they start:
# executes a minimal static i386 Linux program that only exits 0. It is written
# into the build folder, which is on a file system that runs programs (the
# native tests run there); /tmp may not be.
wine_host_runs_i386() {
  if [ -z "${TAVECRON_HOST_I386:-}" ]; then
    local probe="$wine_scripts/../build/.i386-probe"
    mkdir -p "$(dirname "$probe")"
    # ELF header, one program header, then: xor ebx,ebx; xor eax,eax; inc eax; int 0x80 (exit 0).
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\140\0\0\0\140\0\0\0\5\0\0\0\0\20\0\0\61\333\61\300\100\315\200' >"$probe"
    chmod +x "$probe"
    if ("$probe") >/dev/null 2>&1; then TAVECRON_HOST_I386=1; else TAVECRON_HOST_I386=0; fi
    rm -f "$probe"
    export TAVECRON_HOST_I386
  fi
  [ "$TAVECRON_HOST_I386" = 1 ]
}

wine_default_build() {
  if wine_host_runs_i386; then echo win32; else echo win64; fi
}

wine_env() {
  local build
  build=$(cd "$1" && pwd)
  WINEARCH=$(cat "$build/wine-arch" 2>/dev/null) || {
    echo "wine-env: $build is not a configured Windows build (no wine-arch file)" >&2
    return 1
  }
  if [ "$WINEARCH" = win32 ] && ! wine_host_runs_i386; then
    echo "wine-env: $build holds 32-bit (PE32) programs, and this host runs no 32-bit code" >&2
    return 1
  fi
  export WINEARCH WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
  # No Mono or Gecko prompts: the program needs neither .NET nor an HTML engine.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # Wine takes the ANSI code page from the locale: ja_JP.UTF-8 gives code page 932.
  export LC_ALL=ja_JP.UTF-8
  unset LANG LC_CTYPE LANGUAGE
  if [ "$WINEARCH" = win64 ]; then
    # Debian's wine (and wineboot through it) starts the 32-bit loader whenever
    # wine32 is installed; the wrappers in scripts/wine64 start the 64-bit one.
    export WINELOADER=/usr/lib/wine/wine64
    case ":$PATH:" in *":$wine_scripts/wine64:"*) ;; *) export PATH="$wine_scripts/wine64:$PATH" ;; esac
  else
    unset WINELOADER
  fi
}

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
