#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ (scripts/build.sh fuzz: clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer), then runs them one after
# the other from their seed corpora in fuzz/corpus/.
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
# like), to be replayed with DIR/fuzz/<target>_fuzz <that file>.
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

# The targets are fuzz/<target>_fuzz.cpp; scripts/build.sh fuzz (CMake,
# TAVECRON_FUZZ) builds each into DIR/fuzz/<target>_fuzz, DIR being its tree.
all=()
for f in fuzz/*_fuzz.cpp; do all+=("$(basename "${f%_fuzz.cpp}")"); done
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
for t in "${targets[@]}"; do
  [ -f "fuzz/${t}_fuzz.cpp" ] || { echo "fuzz.sh: no target '$t' (targets: ${all[*]})" >&2; exit 2; }
done
# The longest input of a target: the line targets need lines past the
# 2047-character line buffer; the checker looks for next runs of every entry
# line, so its inputs are kept to one over-long line or a few dozen short ones.
declare -A max_len=([crontab_line]=8192 [line_reader]=8192 [crontab_check]=2400)

if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ is missing; run scripts/setup.sh" >&2
  exit 2
fi

# The product is compiled with -fexec-charset=CP932, which clang lacks. That
# only matters for non-ASCII bytes in code, so refuse a core source that has
# any outside a // comment rather than fuzz different bytes. The checker's
# message table is the exception: its texts are only written out, and the
# native build compiles them as UTF-8, as clang does.
for f in $(git ls-files 'base/*.cpp' 'table/*.cpp' 'commands/*.cpp' 'schedule/*.cpp' 'app/*.cpp' | grep -v /win32/); do
  [ "$f" != schedule/check/check_messages.cpp ] || continue
  if sed 's|//.*$||' "$f" | LC_ALL=C grep -q '[^[:print:][:space:]]'; then
    echo "fuzz.sh: $f has non-ASCII text outside comments; clang cannot compile it as code page 932" >&2
    exit 2
  fi
done

mkdir -p "$out/findings" "$out/logs"
TAVECRON_BUILD_DIR=$out scripts/build.sh fuzz "${targets[@]/%/_fuzz}" >"$out/logs/build.log" 2>&1 || {
  tail -n 40 "$out/logs/build.log" >&2
  echo "fuzz.sh: the build failed (log $out/logs/build.log)" >&2
  exit 1
}

if [ -n "$runs" ]; then limit=(-runs="$runs"); else limit=(-max_total_time="$seconds"); fi
for t in "${targets[@]}"; do
  mkdir -p "$out/corpus/$t"
  log="$out/logs/$t.log"
  options=("${limit[@]}" -timeout=10 -print_final_stats=1 -artifact_prefix="$out/findings/$t-")
  [ -z "${max_len[$t]:-}" ] || options+=(-max_len="${max_len[$t]}")
  if ! "$out/fuzz/${t}_fuzz" "${options[@]}" "$out/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
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
