#!/usr/bin/env bash
# Start-up, idle CPU and memory of tavecron.exe under Wine. Not a test: it
# prints figures, each naming the build. Run from the source tree:
#   bash bench/win32/startup_bench.sh [BUILD_DIR...]   (default: build/win32 and
#   build/win64, where built; each runs in a Wine session of its own)
# A PE32 build is reported as not measured on a host that runs no 32-bit code.
# Environment: RUNS launches per program (default 11, at least 9),
# IDLE_SECONDS for the idle CPU figure (default 60; 0 leaves it out),
# TAVECRON_EXE another tavecron.exe to time in the build's place (an earlier
# version, say, for a before-and-after figure).
# Measures, per build:
#   1. start-up: from launch to the main window mapped on the X display
#      (map_wait.c, which waits for the display's event instead of polling),
#      for empty_window_bench.exe (a program that only shows a window),
#      floor_window_bench.exe (one that makes the Win32 objects start-up must
#      make, with the same DLLs) and tavecron.exe with the sample cron.tab;
#      launches taken in turn, RUNS rounds, so the machine's noise falls on
#      all three alike; median, quartiles and range of each, and tavecron.exe
#      against each of the others; the same for the processor time the
#      program's process used until its window showed (on a busy machine the
#      clock figure is mostly waiting for a processor);
#   2. where tavecron.exe's start-up goes: the median of each step of
#      startup_trace_bench.exe (the product's start-up with timestamps);
#   3. a 10,000-row cron.tab: start-up median against the sample's, and its steps;
#   4. idle CPU over IDLE_SECONDS s, and the resident set with the sample and
#      with 10,000 rows.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/wine-env.sh"

if [ "${1:-}" != --inside ]; then
  # map_wait is built against Xlib on the host.
  bash "$top/scripts/setup.sh" libx11-dev
  builds=("$@")
  if [ ${#builds[@]} -eq 0 ]; then
    for kind in win32 win64; do [ -f "$top/build/$kind/wine-arch" ] && builds+=("$top/build/$kind"); done
  fi
  for build in "${builds[@]}"; do
    if [ "$(cat "$build/wine-arch")" = win32 ] && ! wine_host_runs_i386; then
      echo "[PE32 i686] not measured: this host runs no 32-bit code (only the PE32+ build runs here)"
      continue
    fi
    bash "$top/scripts/wine-session.sh" "$build" bash "$0" --inside "$build"
  done
  exit 0
fi

build=$(cd "$2" && pwd)
runs=${RUNS:-11}
[ "$runs" -ge 9 ] || runs=9
idle_seconds=${IDLE_SECONDS:-60}
# In the build tree, not /tmp: map_wait is a host program, and /tmp may not run programs.
work=$(mktemp -d "$build/startup-bench.XXXXXX")
launched=
end_launched() {
  [ -n "$launched" ] || return 0
  kill -KILL "$launched" 2>/dev/null
  # The next launch must not meet this one's mutex or window. Ended means gone
  # or a zombie (map_wait, its parent, has exited; nobody may reap it soon).
  for _ in $(seq 500); do
    [ "$(awk '{print $3}' "/proc/$launched/stat" 2>/dev/null || echo Z)" = Z ] && break
    sleep 0.01
  done
  launched=
}
trap 'end_launched; rm -rf "$work"' EXIT

kind=$(cat "$build/wine-arch")
case "$kind" in win32) kind="PE32 i686" ;; win64) kind="PE32+ x86-64" ;; esac
cp "${TAVECRON_EXE:-$build/app/tavecron.exe}" "$work/tavecron.exe" || exit 1
for exe in bench/win32/empty_window_bench.exe bench/win32/floor_window_bench.exe \
  bench/win32/startup_trace_bench.exe; do
  cp "$build/$exe" "$work/" || exit 1
done
cp "$top/docs/cron.tab" "$work/cron.tab"
cc -O2 -o "$work/map_wait" "$top/bench/win32/map_wait.c" -lX11 || exit 1
cd "$work"

# Milliseconds from launching program $1 to its window titled $2 shown, and
# the processor time its process used until then; the program is ended
# before the next launch.
time_to_window() {
  local exe=$1 title=$2 figure
  figure=$("$work/map_wait" "$title" wine "$work/$exe" </dev/null) || { echo "map_wait: no window for $exe" >&2; return 1; }
  read -r elapsed launched cpu <<<"$figure"
  end_launched
  echo "$elapsed $cpu"
}

# Median, quartiles and range of column $1 of the figures in file $2.
summary() {
  awk -v c="$1" '{print $c}' "$2" | sort -n | awk '{a[NR] = $1}
    END {printf "%d ms (quartiles %d-%d, range %d-%d, n=%d)", a[int((NR + 1) / 2)], a[int((NR + 3) / 4)],
         a[int((3 * NR + 3) / 4)], a[1], a[NR], NR}'
}
median_of() { sed 's/ ms.*//' <<<"$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
# The figures of three named files, $2 against each of the others ($1 names the column).
report() {
  local column=$1 what=$2 e f t
  e=$(summary "$column" "$work/empty.ms")
  f=$(summary "$column" "$work/floor.ms")
  t=$(summary "$column" "$work/tave.ms")
  echo "[$kind] $what, $runs launches each, taken in turn:"
  echo "[$kind]   empty window:               $e"
  echo "[$kind]   floor (same Win32 objects): $f"
  echo "[$kind]   tavecron.exe, sample:       $t"
  echo "[$kind]   ratios: tavecron/empty $(ratio "$(median_of "$t")" "$(median_of "$e")"), tavecron/floor $(ratio "$(median_of "$t")" "$(median_of "$f")")"
}

# Warm-up: the first launch of each maps its DLLs into the page cache.
for pair in "empty_window_bench.exe EmptyWindowBench" "floor_window_bench.exe FloorWindowBench" "tavecron.exe TaveCron"; do
  time_to_window $pair >/dev/null
done

: >"$work/empty.ms"
: >"$work/floor.ms"
: >"$work/tave.ms"
for _ in $(seq "$runs"); do
  time_to_window empty_window_bench.exe EmptyWindowBench >>"$work/empty.ms"
  time_to_window floor_window_bench.exe FloorWindowBench >>"$work/floor.ms"
  time_to_window tavecron.exe TaveCron >>"$work/tave.ms"
done
report 1 "start-up to window shown"
report 2 "processor time of the program's process until its window shows"

# The median of each step over RUNS traced start-ups of the file $1.
trace_steps() {
  local file=$1
  : >"$work/trace.txt"
  for _ in $(seq "$runs"); do
    wine "$work/startup_trace_bench.exe" "$file" </dev/null 2>/dev/null | tr -d '\r' | grep '^trace ' >>"$work/trace.txt"
  done
  awk '{order[$2] = order[$2] ? order[$2] : ++n; name[order[$2]] = $2; v[$2, ++c[$2]] = $3}
    END {for (i = 1; i <= n; i++) {k = name[i]; m = c[k]
           for (x = 1; x <= m; x++) s[x] = v[k, x]
           for (x = 1; x <= m; x++) for (y = x + 1; y <= m; y++) if (s[y] < s[x]) {t = s[x]; s[x] = s[y]; s[y] = t}
           printf "%-36s %8.1f ms  (range %.1f-%.1f)\n", k, s[int((m + 1) / 2)], s[1], s[m]}}' "$work/trace.txt"
}
echo "[$kind] tavecron.exe start-up steps, sample cron.tab (median of $runs traced launches):"
trace_steps cron.tab | sed "s/^/[$kind]   /"

# 10,000 rows: minutes and hours cycle, month 0 keeps them inert.
awk 'BEGIN {for (i = 0; i < 10000; i++) printf "%d %d * 0 * System notepad.exe row%05d\r\n", i % 60, i % 24, i}' >"$work/big.tab"
: >"$work/sample.ms"
: >"$work/big.ms"
for _ in $(seq "$runs"); do
  time_to_window tavecron.exe TaveCron >>"$work/sample.ms"
  cp big.tab cron.tab
  time_to_window tavecron.exe TaveCron >>"$work/big.ms"
  cp "$top/docs/cron.tab" cron.tab
done
for column in 1 2; do
  what=$([ "$column" = 1 ] && echo "start-up to window shown" || echo "processor time until shown")
  sample=$(summary "$column" "$work/sample.ms")
  big=$(summary "$column" "$work/big.ms")
  echo "[$kind] tavecron.exe $what, sample cron.tab:     $sample"
  echo "[$kind] tavecron.exe $what, 10,000-row cron.tab: $big"
  echo "[$kind]   ratio 10,000 rows/sample $(ratio "$(median_of "$big")" "$(median_of "$sample")")"
done
echo "[$kind] tavecron.exe start-up steps, 10,000-row cron.tab (median of $runs traced launches):"
trace_steps big.tab | sed "s/^/[$kind]   /"

# The process of a Wine program is the wine loader process itself.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
resident_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
launch_and_settle() {
  local figure
  figure=$("$work/map_wait" TaveCron wine "$work/tavecron.exe" </dev/null) || return 1
  read -r _ launched _ <<<"$figure"
  sleep 2
}

if [ "$idle_seconds" -gt 0 ]; then
  # The wine server of this prefix: its working directory is named after the
  # prefix's device and inode numbers.
  server_pid=
  server_dir_suffix=$(printf -- '-%x' "$(stat -c %i "$WINEPREFIX")")
  for p in $(pgrep -x wineserver32; pgrep -x wineserver64; pgrep -x wineserver); do
    case "$(readlink "/proc/$p/cwd")" in *"$server_dir_suffix") server_pid=$p ;; esac
  done
  launch_and_settle
  hz=$(getconf CLK_TCK)
  before=$(cpu_ticks "$launched")
  server_before=$([ -n "$server_pid" ] && cpu_ticks "$server_pid" || echo 0)
  sleep "$idle_seconds"
  after=$(cpu_ticks "$launched")
  server_after=$([ -n "$server_pid" ] && cpu_ticks "$server_pid" || echo 0)
  awk -v t=$((after - before)) -v s=$((server_after - server_before)) -v hz="$hz" -v sec="$idle_seconds" \
    -v kind="$kind" 'BEGIN {printf "[" kind "] idle CPU over %d s: tavecron.exe %.3f%%, wineserver %.3f%% (of one core)\n", sec, 100 * t / hz / sec, 100 * s / hz / sec}'
  end_launched
fi

launch_and_settle
idle_rss=$(resident_kb "$launched")
end_launched
cp big.tab cron.tab
launch_and_settle
big_rss=$(resident_kb "$launched")
end_launched
echo "[$kind] working set: ${idle_rss} kB with the sample schedule, ${big_rss} kB with 10,000 rows"
