#!/usr/bin/env bash
# Long runs of the program, outside the test command.
#
#   soak.sh MINUTES [BUILD_DIR]   runs the real tavecron.exe for MINUTES minutes
#                                  of wall-clock time under Wine and Xvfb
#   soak.sh --year [BUILD_DIR]     runs the simulated year of timer ticks (the
#                                  longevity tests with TAVECRON_YEAR=full) and
#                                  says how long it took
#
# BUILD_DIR is a Windows build tree, by default the one this host runs
# (scripts/wine-env.sh). The real-time run gives the program a schedule whose
# System entries append the local date and time to one log file per entry, and
# a TZ whose offset puts local time at 23:(60-k):20 when it starts, so that the
# run crosses midnight k minutes in (k = 10, or half of a shorter run) and the
# first minute boundary is 40 s after the start. The first tick's minute runs
# nothing; the due minutes are the MINUTES that follow it. Afterwards it prints
# per entry: the runs expected (worked out here from each pattern's meaning),
# the runs seen, the duplicates (runs in a minute beyond the first), the misses
# (expected minutes with no run) and the runs in minutes not expected; and the
# resident memory of the program's process at the start, at the end and at its
# highest. It exits 1 when any entry's runs differ from those expected.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
. scripts/wine-env.sh
usage() { echo "usage: soak.sh MINUTES|--year [BUILD_DIR]" >&2; exit 2; }
[ $# -ge 1 ] || usage
build=${2:-build/$(wine_default_build)}
# Brings a configured tree's target up to date; a tree copied without its build files is used as it is.
build_target() { [ ! -f "$build/CMakeCache.txt" ] || cmake --build "$build" -j"$(nproc)" --target "$1" >/dev/null; }

if [ "$1" = --year ]; then
  build_target longevity_win32_tests
  exe=$(cd "$build" && pwd)/tests/longevity_win32_tests.exe
  start=$(date +%s) status=0
  TAVECRON_YEAR=full scripts/wine-session.sh "$build" wine "$exe" --gtest_filter='SimulatedYear.*' || status=$?
  echo "the simulated year took $(($(date +%s) - start)) s under Wine (session start included)"
  exit $status
fi
[[ "$1" =~ ^[1-9][0-9]*$ ]] && [ "$1" -lt 1380 ] || usage
build_target tavecron

soak_run() {
  local minutes=$1 dir=$2 exe=$3
  rm -rf "$dir" && mkdir -p "$dir" && cp "$exe" "$dir/tavecron.exe"
  # Name, minute and hour patterns, and the same rule in shell arithmetic on h and m.
  local entries=(
    "every|*|*|1"
    "tens|0,10,20,30,40,50|*|m % 10 == 0"
    "five_to_seven|5-7|*|m >= 5 && m <= 7"
    "odd|$(seq -s, 1 2 59)|*|m % 2 == 1"
    "midnight|0|0|h == 0 && m == 0"
    "list_and_range|1-5,58|0,23|(h == 0 || h == 23) && (m <= 5 && m >= 1 || m == 58)"
  )
  local entry name minute hour rule
  for entry in "${entries[@]}"; do
    IFS='|' read -r name minute hour rule <<<"$entry"
    printf '%s %s * * * System cmd.exe /c echo %%DATE%% %%TIME%%>>%s.log\r\n' "$minute" "$hour" "$name"
  done >"$dir/cron.tab"

  local k=$((minutes / 2 < 10 ? (minutes / 2 > 0 ? minutes / 2 : 1) : 10))
  local now offset sign=-
  now=$(date +%s)
  offset=$(((86400 - k * 60 + 20 - now % 86400 + 2 * 86400) % 86400))
  ((offset <= 43200)) || offset=$((offset - 86400))
  ((offset >= 0)) || { sign=+; offset=$((-offset)); }
  local start_minute=$((1440 - k))  # local minutes since midnight at the start
  (cd "$dir" && TZ=$(printf 'SOAK%s%02d:%02d:%02d' $sign $((offset / 3600)) $((offset / 60 % 60)) $((offset % 60))) \
    exec wine "$dir/tavecron.exe" </dev/null >/dev/null 2>&1) &
  local pid=$! tries  # the wine loader becomes the program's process
  for tries in $(seq 300); do
    [ -n "$(xdotool search --onlyvisible --name '^TaveCron$' 2>/dev/null)" ] && break
    kill -0 "$pid" 2>/dev/null && sleep 0.2 || { echo "soak: the program did not start" >&2; return 1; }
  done
  (($(date +%s) < now + 40)) || echo "soak: start-up took over 40 s: the first tick came after the first due minute began" >&2
  rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || echo 0; }
  local rss_start rss_first= rss_high=0 r
  rss_start=$(rss)
  local end=$((now + 40 + (minutes - 1) * 60))  # the start of the last due minute
  echo "soak: $minutes minutes from local 23:$((60 - k)):20 (process $pid), schedule:" && cat "$dir/cron.tab"
  while (($(date +%s) < end + 30)); do
    kill -0 "$pid" 2>/dev/null || { echo "soak: the program ended early" >&2; break; }
    r=$(rss) && ((r > rss_high)) && rss_high=$r
    # After the first due pass, which loads what starting a program needs.
    [ -n "$rss_first" ] || (($(date +%s) < now + 60)) || rss_first=$r
    sleep 5
  done
  local rss_end
  rss_end=$(rss)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true

  local failed=0 expected seen dups misses extra i h m line
  printf '%-15s %-28s %8s %5s %10s %6s %6s\n' entry pattern expected seen duplicates misses extra
  for entry in "${entries[@]}"; do
    IFS='|' read -r name minute hour rule <<<"$entry"
    declare -A runs=()
    seen=0 extra=0 dups=0 misses=0 expected=0
    while read -r _ line; do  # "date HH:MM", as cmd's %TIME% writes it here
      line=${line%$'\r'} && h=$((10#${line%%:*})) && m=$((10#${line#*:}))
      i=$(((h * 60 + m - start_minute + 2880) % 1440))
      runs[$i]=$((${runs[$i]:-0} + 1)) && seen=$((seen + 1))
    done < <(cat "$dir/$name.log" 2>/dev/null)
    for ((i = 1; i <= minutes; i++)); do
      h=$(((start_minute + i) / 60 % 24)) m=$(((start_minute + i) % 60))
      if ((rule)); then
        expected=$((expected + 1))
        ((${runs[$i]:-0} > 0)) || misses=$((misses + 1))
        ((${runs[$i]:-0} <= 1)) || dups=$((dups + ${runs[$i]} - 1))
        unset "runs[$i]"
      fi
    done
    for i in "${!runs[@]}"; do extra=$((extra + runs[$i])); done
    unset runs
    printf '%-15s %-28.28s %8d %5d %10d %6d %6d\n' "$name" "$minute $hour" $expected $seen $dups $misses $extra
    ((seen == expected && dups + misses + extra == 0)) || failed=1
  done
  echo "resident memory of tavecron.exe (VmRSS, kB): at start $rss_start, after the first due minute ${rss_first:-?}, at the end $rss_end, highest sampled $rss_high"
  return $failed
}
export -f soak_run
exec scripts/wine-session.sh "$build" bash -c 'soak_run "$@"' soak "$1" "$(cd "$build" && pwd)/soak" \
  "$(cd "$build" && pwd)/app/tavecron.exe"
