#!/usr/bin/env bash
# Mutation sampling: plants small faults, one at a time, in product lines and
# says which ones the tests catch.
#
#   scripts/mutants.sh [options] [BASE | FILE...]
#
# BASE (a commit): the product lines (.cpp/.h under base/ table/ commands/
# schedule/ app/, never tests/) changed since BASE, as `git diff -U0 BASE`
# shows them; FILE...: every line of those product files. Without either, the
# lines changed since the branch left main.
#
# Faults: a comparison flipped or made strict (< <=, > >=, == !=), && and ||
# swapped, a ! dropped, a number moved by one (a boundary or a constant),
# true and false swapped, a whole-line call or assignment dropped, two
# neighbouring arguments of a call swapped. Mutants are sampled with a seed,
# one per changed line before any line gets a second.
#
# For each one: the file is mutated in place, the build tree rebuilt
# incrementally and the tests run, then the file is restored. A portable file
# (outside win32/) goes through the native tree and tests first; when they
# all pass, through the win64 tree and the Windows tests under Wine (the
# suites that can see it: the Windows programs use the core too) before it is
# called a survivor. A win32/ file goes through win64 only. A mutant that does
# not compile is counted apart (not built), never as caught. Each suite is
# built and run once without mutants first; a red suite stops the run.
#
# Prints one line per mutant (caught, with the first failing tests; survived;
# not built), the diff of each survivor, and the rate caught / (caught +
# survived). A survivor may change nothing a user can see (an id renumbered
# everywhere, say): a person decides; put its id (the first word of its line,
# FILE:LINE:COLUMN:KIND) in a file given with --ignore, one per line, a
# reason after it, # for comments. Ids hold line numbers: renew them after
# edits.
#
# Options:
#   --max N          stop after N built mutants (default 30)
#   --minutes M      start no mutant after M minutes (default 60)
#   --seed S         sample seed (default 1)
#   --ignore FILE    mutant ids not to plant
#   --list           print the sampled mutants, plant none
#   --no-wine        portable files: the native tests only (survivors unconfirmed)
#   --dirty          mutate files that have uncommitted changes (refused otherwise)
#   --native-dir D, --win-dir D   build trees (default build/native, build/win64)
#
# The file being mutated is always restored: on exit, on Ctrl+C, and by the
# next run if this one was killed (copies wait in build/mutants/originals).
# Logs of the last build and test run: build/mutants/.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
case "${1:-}" in -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit 0 ;; esac

originals=build/mutants/originals
restored=build/mutants/restored
restore_originals() {
  [ -d "$originals" ] || return 0
  local copy
  while IFS= read -r -d '' copy; do
    # Written anew (not moved back with its old time stamp), so that make
    # rebuilds what the mutant left in the build trees.
    cat "$copy" >"${copy#"$originals"/}" && rm -f "$copy"
    printf '%s\n' "${copy#"$originals"/}" >>"$restored"
    echo "mutants.sh: restored ${copy#"$originals"/}" >&2
  done < <(find "$originals" -type f -print0)
}
restore_originals
# A build still running when a run was killed may have written an object made
# from a mutant after the file was restored: renewing the file's time makes
# the next build compile it again.
if [ -f "$restored" ]; then
  xargs -r -d '\n' touch -c <"$restored"
  rm -f "$restored"
fi
trap restore_originals EXIT
trap 'exit 130' INT TERM HUP
# One line, exit included: bash reads a script as it runs it, and the run is long.
python3 scripts/mutants.py "$@"; exit
