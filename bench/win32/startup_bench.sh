#!/usr/bin/env bash
# Start-up, idle CPU and memory of tavecron.exe under Wine. Not a test: it
# prints figures. Run inside a Wine session:
#   scripts/wine-session.sh build/win64 bash bench/win32/startup_bench.sh build/win64
# (build/win32 too, where the host runs 32-bit code). Every figure names the build.
# Measures
#   1. start-up: from launch to the main window mapped on the X display, for
#      tavecron.exe (with the sample cron.tab) and for empty_window_bench.exe
#      (a program that only shows a window), median of RUNS launches each,
#      and their ratio;
#   2. idle CPU: user + system time of the running tavecron.exe process (from
#      /proc) over IDLE_SECONDS seconds with the window shown and idle;
#   3. memory: the process's resident set with a 10,000-row cron.tab loaded.
set -u
build=$(cd "${1:?usage: startup_bench.sh BUILD_DIR}" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
runs=${RUNS:-9}
idle_seconds=${IDLE_SECONDS:-60}
work=$(mktemp -d)
trap 'wine taskkill /f /im tavecron.exe >/dev/null 2>&1; wine taskkill /f /im empty_window_bench.exe >/dev/null 2>&1; rm -rf "$work"' EXIT

kind=$(cat "$build/wine-arch")
case "$kind" in win32) kind="PE32 i686" ;; win64) kind="PE32+ x86-64" ;; esac
cp "$build/app/tavecron.exe" "$work/tavecron.exe"
cp "$build/bench/win32/empty_window_bench.exe" "$work/empty_window_bench.exe"
cp "$top/docs/cron.tab" "$work/cron.tab"
cd "$work"

now_ms() { date +%s%3N; }

# Milliseconds from launching program $1 to a visible window titled $2.
time_to_window() {
  local exe=$1 title=$2 start end pid
  start=$(now_ms)
  wine "$work/$exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do sleep 0.005; done
  end=$(now_ms)
  wine taskkill /f /im "$exe" >/dev/null 2>&1
  wait "$pid" 2>/dev/null
  echo $((end - start))
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

# Warm-up: the first launch of each maps DLLs into the page cache.
time_to_window empty_window_bench.exe EmptyWindowBench >/dev/null
time_to_window tavecron.exe TaveCron >/dev/null

empty=$(for _ in $(seq "$runs"); do time_to_window empty_window_bench.exe EmptyWindowBench; done | median)
tave=$(for _ in $(seq "$runs"); do time_to_window tavecron.exe TaveCron; done | median)
echo "[$kind] start-up to window shown (median of $runs): tavecron.exe ${tave} ms, empty program ${empty} ms, ratio $(awk -v a="$tave" -v b="$empty" 'BEGIN {printf "%.2f", a / b}')"

# The process of a Wine program is the wine loader process itself.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# The wine server of this prefix: its working directory is named after the
# prefix's device and inode numbers.
server_pid=
server_dir_suffix=$(printf -- '-%x' "$(stat -c %i "$WINEPREFIX")")
for p in $(pgrep -x wineserver32; pgrep -x wineserver64; pgrep -x wineserver); do
  case "$(readlink "/proc/$p/cwd")" in *"$server_dir_suffix") server_pid=$p ;; esac
done

wine "$work/tavecron.exe" </dev/null >/dev/null 2>&1 &
pid=$!
until xdotool search --onlyvisible --name '^TaveCron$' >/dev/null 2>&1; do sleep 0.05; done
sleep 2
hz=$(getconf CLK_TCK)
before=$(cpu_ticks "$pid")
server_before=$( [ -n "$server_pid" ] && cpu_ticks "$server_pid" || echo 0)
sleep "$idle_seconds"
after=$(cpu_ticks "$pid")
server_after=$( [ -n "$server_pid" ] && cpu_ticks "$server_pid" || echo 0)
awk -v t=$((after - before)) -v s=$((server_after - server_before)) -v hz="$hz" -v sec="$idle_seconds" \
  -v kind="$kind" 'BEGIN {printf "[" kind "] idle CPU over %d s: tavecron.exe %.3f%%, wineserver %.3f%% (of one core)\n", sec, 100 * t / hz / sec, 100 * s / hz / sec}'
idle_rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
wine taskkill /f /im tavecron.exe >/dev/null 2>&1
wait "$pid" 2>/dev/null

# 10,000 rows: minutes and hours cycle, month 0 keeps them inert.
awk 'BEGIN {for (i = 0; i < 10000; i++) printf "%d %d * 0 * System notepad.exe row%05d\r\n", i % 60, i % 24, i}' >"$work/cron.tab"
start=$(now_ms)
wine "$work/tavecron.exe" </dev/null >/dev/null 2>&1 &
pid=$!
until xdotool search --onlyvisible --name '^TaveCron$' >/dev/null 2>&1; do sleep 0.01; done
end=$(now_ms)
sleep 2
big_rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
echo "[$kind] working set: ${idle_rss} kB with the sample schedule, ${big_rss} kB with 10,000 rows (window shown after $((end - start)) ms)"
