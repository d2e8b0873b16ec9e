#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang and libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer, then runs them one after the other from
# their seed corpora in fuzz/corpus/.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [--runs N] [--build-dir DIR] [TARGET...]
#
# Each target runs SECONDS_PER_TARGET seconds (default 60) or, with --runs, N
# executions. TARGET names (time_pattern, crontab_line, ...) pick some targets;
# the default is all. Binaries, logs and the inputs the fuzzer finds
# interesting (DIR/corpus/<target>/, reused by the next run) go to DIR,
# build/fuzz by default. The first finding (a crash, a sanitizer report, a
# failed property, a leak or a time-out) stops the script with a non-zero
# status; its input is kept as DIR/findings/<target>-crash-<hash> (and the
# like), to be replayed with DIR/<target>_fuzz <that file>.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

seconds=60
runs=
out=build/fuzz
targets=()
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --runs=*) runs=${1#--runs=}; shift ;;
    --build-dir) out=$2; shift 2 ;;
    --build-dir=*) out=${1#--build-dir=}; shift ;;
    -h|--help) sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    [0-9]*) seconds=$1; shift ;;
    *) targets+=("$1"); shift ;;
  esac
done

# The core sources each target compiles, and its longest input: the line
# targets need lines past the 2047-character line buffer.
declare -A sources=(
  [time_pattern]="schedule/time_pattern.cpp"
  [crontab_line]="schedule/crontab_line.cpp schedule/line_reader.cpp base/cp932.cpp"
  [line_reader]="schedule/line_reader.cpp schedule/crontab_line.cpp base/cp932.cpp"
  [arg_vector]="commands/arg_vector.cpp base/cp932.cpp"
  [option_scanner]="commands/option_scanner.cpp"
  [edit_text_cut]="app/edit_text_cut.cpp"
  [crontab_path]="app/crontab_path.cpp"
  [cp932]="base/cp932.cpp"
  [crontab_check]="schedule/crontab_check.cpp schedule/check_calendar.cpp schedule/check_report.cpp
    schedule/check_messages.cpp schedule/crontab_line.cpp schedule/line_reader.cpp schedule/time_pattern.cpp
    base/cp932.cpp"
)
# The checker looks for next runs of every entry line, so its inputs are kept
# to one over-long line or a few dozen short ones.
declare -A max_len=([crontab_line]=8192 [line_reader]=8192 [crontab_check]=2400)
all=(time_pattern crontab_line line_reader arg_vector option_scanner edit_text_cut crontab_path cp932
     crontab_check)
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
for t in "${targets[@]}"; do
  [ -n "${sources[$t]:-}" ] || { echo "fuzz.sh: no target '$t' (targets: ${all[*]})" >&2; exit 2; }
done

if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ is missing; run scripts/setup.sh" >&2
  exit 2
fi

# The product is compiled with -fexec-charset=CP932, which clang lacks. That
# only matters for non-ASCII bytes in code, so refuse a core source that has
# any outside a // comment rather than fuzz different bytes. The checker's
# message table is the exception: its texts are only written out, and the
# native build compiles them as UTF-8, as clang does.
for t in "${targets[@]}"; do
  for f in ${sources[$t]}; do
    [ "$f" != schedule/check_messages.cpp ] || continue
    if sed 's|//.*$||' "$f" | LC_ALL=C grep -q '[^[:print:][:space:]]'; then
      echo "fuzz.sh: $f has non-ASCII text outside comments; clang cannot compile it as code page 932" >&2
      exit 2
    fi
  done
done

mkdir -p "$out/obj" "$out/findings" "$out/logs"
common=(-std=c++20 -g -O1 -fno-exceptions -fno-rtti -Wall -Wextra -I"$top" -fno-sanitize-recover=all)
# Coverage instrumentation goes into the core sources only: libFuzzer steers
# by the code under test, its cov: figure counts that code's edges, and the
# targets' own checks (plain loops over every byte) do not slow each run.
core_flags=("${common[@]}" -fsanitize=fuzzer-no-link,address,undefined)
target_flags=("${common[@]}" -fsanitize=address,undefined)

# Runs "$@" in the background, two at a time: the machine's cores are shared.
pids=()
in_background() {
  "$@" &
  pids+=($!)
  if [ ${#pids[@]} -ge 2 ]; then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
}
wait_all() {
  for p in "${pids[@]}"; do wait "$p"; done
  pids=()
}

declare -A core_objects=()
for t in "${targets[@]}"; do
  for f in ${sources[$t]}; do core_objects[$f]="$out/obj/$(basename "${f%.cpp}").o"; done
done
for f in "${!core_objects[@]}"; do in_background clang++ "${core_flags[@]}" -c "$f" -o "${core_objects[$f]}"; done
for t in "${targets[@]}"; do
  in_background clang++ "${target_flags[@]}" -c "fuzz/${t}_fuzz.cpp" -o "$out/obj/${t}_fuzz.o"
done
wait_all
for t in "${targets[@]}"; do
  objects=("$out/obj/${t}_fuzz.o")
  for f in ${sources[$t]}; do objects+=("${core_objects[$f]}"); done
  in_background clang++ -fsanitize=fuzzer,address,undefined "${objects[@]}" -o "$out/${t}_fuzz"
done
wait_all

if [ -n "$runs" ]; then limit=(-runs="$runs"); else limit=(-max_total_time="$seconds"); fi
for t in "${targets[@]}"; do
  mkdir -p "$out/corpus/$t"
  log="$out/logs/$t.log"
  options=("${limit[@]}" -timeout=10 -print_final_stats=1 -artifact_prefix="$out/findings/$t-")
  [ -z "${max_len[$t]:-}" ] || options+=(-max_len="${max_len[$t]}")
  if ! "$out/${t}_fuzz" "${options[@]}" "$out/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "fuzz.sh: $t: FINDING (log $log, input in $out/findings/)" >&2
    exit 1
  fi
  # One line per target: executions, speed, and the coverage reached (cov:
  # edges of the core sources hit, of all their instrumented edges; ft:
  # libFuzzer's finer features).
  stat() { sed -n "s/^stat::$1:[[:space:]]*//p" "$log" | tail -n 1; }
  edges=$(sed -n 's/.*Loaded 1 modules *(\([0-9]*\) inline 8-bit counters).*/\1/p' "$log" | head -n 1)
  done_line=$(grep -aE '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)
  cov=$(sed -n 's/.* cov: \([0-9]*\) .*/\1/p' <<<"$done_line")
  ft=$(sed -n 's/.* ft: \([0-9]*\) .*/\1/p' <<<"$done_line")
  printf '%-15s %10s runs %8s exec/s   cov: %s of %s edges   ft: %s\n' "$t" "$(stat number_of_executed_units)" \
    "$(stat average_exec_per_sec)" "${cov:-?}" "${edges:-?}" "${ft:-?}"
done
