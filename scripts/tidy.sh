#!/usr/bin/env bash
# Static analysis: clang-tidy with the checks of .clang-tidy over every product
# source (the layers' folders, app/check included; tests, benchmarks and fuzz
# targets aside). The portable core is analysed as the native build compiles
# it (build/native), the Win32 binding as the 64-bit cross build does
# (build/win64), with clang told the mingw target and the cross compiler's C++
# headers. clang has no code page 932, so it reads the texts as UTF-8: that
# changes no check. Any finding fails the script (WarningsAsErrors).
# Usage: tidy.sh [FILE...]   (no file: every product source)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc)

# Configuring writes each tree's compile_commands.json; nothing is built.
cmake --preset native -B build/native >/dev/null
cmake --preset win64 -B build/win64 >/dev/null

if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files 'base/*.cpp' 'table/*.cpp' 'commands/*.cpp' 'schedule/*.cpp' 'app/*.cpp')
fi
core=() binding=()
for file in "${files[@]}"; do
  case "/$file" in
    */win32/*) binding+=("$file") ;;
    *) core+=("$file") ;;
  esac
done

cross=x86_64-w64-mingw32
binding_args=(--extra-arg=--target=$cross)
while read -r dir; do
  binding_args+=(--extra-arg=-isystem"$dir")
done < <(echo | $cross-g++-posix -xc++ -E -v - 2>&1 | sed -n '/<\.\.\.> search starts/,/End of/p' | grep '^ .*c++')

# clang-tidy prints its findings on stdout and a count of the warnings it
# suppressed (those in system headers) on stderr: the counts are dropped.
tidy() {
  local tree=$1
  shift
  xargs -0 -n1 -P"$jobs" clang-tidy -quiet -p "$tree" --extra-arg=-fexec-charset=UTF-8 "$@" \
    2> >(grep -v ' generated\.$' >&2)
}
status=0
if [ ${#core[@]} -gt 0 ]; then
  printf '%s\0' "${core[@]}" | tidy build/native || status=1
fi
if [ ${#binding[@]} -gt 0 ]; then
  printf '%s\0' "${binding[@]}" | tidy build/win64 "${binding_args[@]}" || status=1
fi
if [ "$status" -ne 0 ]; then
  echo "tidy: clang-tidy found the faults above (checks: .clang-tidy)" >&2
  exit 1
fi
echo "tidy: ${#core[@]} core and ${#binding[@]} binding sources clean"
