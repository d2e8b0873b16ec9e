#!/usr/bin/env bash
# Line and branch coverage of the tests over the product (base/ table/
# commands/ schedule/ app/), per layer and per file, with every branch no test
# takes listed.
#
#   scripts/coverage.sh [native] [win64]      (default: both)
#   scripts/coverage.sh --report              (the last runs' counts, nothing run)
#
# native: the native tests (ctest) in build/coverage-native, counted by g++'s
# gcov. win64: the Windows tests under Wine (unit, longevity and black-box
# tests, through scripts/wine-session.sh) in build/coverage-win64, counted by
# x86_64-w64-mingw32-gcov. Both trees are the presets coverage-native and
# coverage-win64 of CMakePresets.json: TAVECRON_COVERAGE, unoptimised, with
# gcov counters. The programs write their .gcda counts at exit to the object
# paths compiled in; under Wine the Unix root is drive Z:, so those absolute
# paths are reached as they are. Each run starts from zero counts. A failing
# test is reported and the coverage is still measured.
#
# Written to build/coverage/: report.txt (per layer and per file, for each
# suite and for both together), uncovered-branches.txt (file:line, the branches
# of that line no test takes, and the source line: where to look for a missing
# test, or for code no user can reach), and gcovr's JSON of each suite. The
# summary goes to stdout; a suite not run this time is reported from its last
# run, said so. gcovr, the reporter, is Debian's (installed on first
# use through scripts/setup.sh). The Windows part takes several minutes: it is
# not part of the test command.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

kinds=()
report_only=
for arg in "$@"; do
  case $arg in
    native|win64) kinds+=("$arg") ;;
    --report) report_only=1 ;;
    -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit 0 ;;
    *) echo "coverage.sh: arguments are native, win64 and --report, not '$arg'" >&2; exit 2 ;;
  esac
done
[ ${#kinds[@]} -gt 0 ] || [ -n "$report_only" ] || kinds=(native win64)
[ -z "$report_only" ] || kinds=()

bash scripts/setup.sh gcovr
out=build/coverage
mkdir -p "$out"
product='(base|table|commands|schedule|app)/'
failed=()
jsons=()

for kind in ${kinds[@]+"${kinds[@]}"}; do
  dir=build/coverage-$kind
  echo "== coverage: $kind tests, build tree $dir =="
  cmake --preset "coverage-$kind" -B "$dir" >/dev/null
  cmake --build "$dir" -j"$(nproc)" >"$out/build-$kind.log" 2>&1 || {
    tail -n 30 "$out/build-$kind.log"
    echo "coverage.sh: the $kind build failed (log: $out/build-$kind.log)" >&2
    exit 1
  }
  find "$dir" -name '*.gcda' -delete
  if [ "$kind" = native ]; then
    gcov=gcov
    ctest --test-dir "$dir" -j"$(nproc)" --output-on-failure >"$out/tests-$kind.log" 2>&1 || failed+=("$kind")
  else
    gcov=x86_64-w64-mingw32-gcov
    scripts/wine-session.sh "$dir" ctest --test-dir "$dir" -j"$(nproc)" --output-on-failure \
      >"$out/tests-$kind.log" 2>&1 || failed+=("$kind")
  fi
  grep -E 'tests passed|tests failed' "$out/tests-$kind.log" || true
  gcda=$(find "$dir" -name '*.gcda' | wc -l)
  echo "$gcda .gcda count files written"
  if [ "$gcda" -eq 0 ]; then
    echo "coverage.sh: the $kind tests wrote no counts" >&2
    exit 1
  fi
  gcovr --root "$top" --object-directory "$dir" --gcov-executable "$gcov" --filter "$product" \
    --exclude-unreachable-branches --exclude-throw-branches -j "$(nproc)" \
    --json "$out/$kind.json" "$dir" 2>"$out/gcovr-$kind.log"
  jsons+=("$kind")
done

# A suite not run this time is reported from its last run, if there was one.
reported=()
for kind in native win64; do
  if [[ " ${jsons[*]-} " == *" $kind "* ]]; then
    reported+=("$kind")
  elif [ -f "$out/$kind.json" ]; then
    echo "($kind: the counts of its last run, $(date -r "$out/$kind.json" '+%Y-%m-%d %H:%M'))"
    reported+=("$kind")
  fi
done

if [ ${#reported[@]} -eq 0 ]; then
  echo "coverage.sh: no counts to report: run the suites first" >&2
  exit 1
fi
python3 - "$out" "${reported[@]}" <<'EOF'
import json, sys
from collections import defaultdict

out, kinds = sys.argv[1], sys.argv[2:]
LAYERS = ["base", "table", "commands", "schedule", "app"]


def load(kind):
    with open(f"{out}/{kind}.json") as f:
        files = json.load(f)["files"]
    # file -> line -> (count, [branch counts]); gcovr marks lines that hold no code.
    result = {}
    for entry in files:
        lines = {}
        for line in entry["lines"]:
            if line.get("gcovr/noncode"):
                continue
            lines[line["line_number"]] = (line["count"], [b["count"] for b in line["branches"]])
        result[entry["file"]] = lines
    return result


def merge(reports):
    # The same source line counted by both suites: taken when either takes it.
    # The two compilers are the same GCC at -O0, so a line's branches line up.
    merged = defaultdict(dict)
    for report in reports:
        for name, lines in report.items():
            for number, (count, branches) in lines.items():
                old_count, old_branches = merged[name].get(number, (0, []))
                if len(old_branches) == len(branches) or not old_branches:
                    both = [a + b for a, b in zip(branches, old_branches)] if old_branches else branches
                else:
                    both = max(branches, old_branches, key=len)
                merged[name][number] = (count + old_count, both)
    return dict(merged)


def figures(lines):
    covered = sum(1 for count, _ in lines.values() if count > 0)
    branches = [b for _, bs in lines.values() for b in bs]
    return covered, len(lines), sum(1 for b in branches if b > 0), len(branches)


def percent(done, total):
    return f"{100.0 * done / total:5.1f}%" if total else "    - "


def cell(lines_covered, lines_total, branches_covered, branches_total):
    return (f"{percent(lines_covered, lines_total)} {lines_covered:5}/{lines_total:<5} "
            f"{percent(branches_covered, branches_total)} {branches_covered:5}/{branches_total:<5}")


reports = {kind: load(kind) for kind in kinds}
if len(kinds) > 1:
    reports["both"] = merge(reports[k] for k in kinds)
names = list(reports)

layer_rows = []
for layer in LAYERS + ["total"]:
    row = [layer]
    for name in names:
        totals = [0, 0, 0, 0]
        for path, lines in reports[name].items():
            if layer == "total" or path.split("/")[0] == layer:
                totals = [a + b for a, b in zip(totals, figures(lines))]
        row.append(cell(*totals))
    layer_rows.append(row)

header = "".join(f" | {name + ': lines, branches':<39}" for name in names)
summary = [f"{'layer':<9}{header}"] + [f"{row[0]:<9}" + "".join(f" | {c}" for c in row[1:]) for row in layer_rows]

per_file = []
for path in sorted({p for report in reports.values() for p in report}):
    cells = []
    for name in names:
        lines = reports[name].get(path)
        cells.append(cell(*figures(lines)) if lines else f"{'(no counts in this suite)':<39}")
    per_file.append(f"{path:<40}" + "".join(f" | {c}" for c in cells))

with open(f"{out}/report.txt", "w") as f:
    f.write("Per layer\n" + "\n".join(summary) + "\n\nPer file\n")
    f.write(f"{'file':<40}{header}\n" + "\n".join(per_file) + "\n")

# Untaken branches of the suites together (or of the one suite run), with the line's text.
listed = reports[names[-1]]
count = 0
with open(f"{out}/uncovered-branches.txt", "w") as f:
    f.write(f"Branches no test takes ({names[-1]}): file:line: untaken/branches on the line, then the line\n")
    for path in sorted(listed):
        try:
            with open(path, encoding="utf-8", errors="replace") as source:
                text = source.read().split("\n")
        except OSError:
            text = []
        for number in sorted(listed[path]):
            count_line, branches = listed[path][number]
            untaken = sum(1 for b in branches if b == 0)
            if untaken:
                count += untaken
                source_line = text[number - 1].strip() if number <= len(text) else ""
                never = " (line never run)" if count_line == 0 else ""
                f.write(f"{path}:{number}: {untaken}/{len(branches)} untaken{never}: {source_line}\n")

print("\n".join(summary))
print(f"\n{count} untaken branches listed in {out}/uncovered-branches.txt; per file: {out}/report.txt")
EOF

if [ ${#failed[@]} -gt 0 ]; then
  echo "coverage.sh: tests failed in: ${failed[*]} (logs: $out/tests-*.log); the figures count the runs as they went" >&2
  exit 1
fi
