#!/usr/bin/env bash
# Checks the two programs of a Windows build tree without running them: each is
# a static program of the build's kind (PE32 i386 for win32, PE32+ x86-64 for
# win64), tavecron.exe a GUI program and tavecron-check.exe a console one, and
# neither imports a DLL outside the system's own set, so both start on a clean
# Windows with nothing installed beside them.
# Usage: check-pe.sh BUILD_DIR
set -euo pipefail
build=$1
case "$(cat "$build/wine-arch")" in
  win32) format=pei-i386 magic='010b (PE32)' objdump=i686-w64-mingw32-objdump ;;
  win64) format=pei-x86-64 magic='020b (PE32+)' objdump=x86_64-w64-mingw32-objdump ;;
esac
system_dlls=' advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll user32.dll '

check() {
  local exe=$1 subsystem=$2 headers dll
  headers=$(LC_ALL=C "$objdump" -p "$exe")  # English headers whatever the locale
  grep -q "file format $format\$" <<<"$headers" || { echo "check-pe: $exe is not $format" >&2; return 1; }
  grep -q "^Magic\s*${magic% *}\s" <<<"$headers" || { echo "check-pe: $exe is not $magic" >&2; return 1; }
  grep -q "^Subsystem.*($subsystem)\$" <<<"$headers" || { echo "check-pe: $exe is not a $subsystem program" >&2; return 1; }
  for dll in $(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z'); do
    [[ "$system_dlls" == *" $dll "* ]] || { echo "check-pe: $exe imports $dll, not a system DLL" >&2; return 1; }
  done
  echo "check-pe: $exe: $format, $subsystem, imports $(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
}
check "$build/app/tavecron.exe" 'Windows GUI'
check "$build/app/check/tavecron-check.exe" 'Windows CUI'
