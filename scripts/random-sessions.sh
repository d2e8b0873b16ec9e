#!/usr/bin/env bash
# Runs the random sessions of the longevity tests for as many seeds as asked:
# seeded user actions on the real main window against a model of the rows. A
# failing seed prints the shortest list of steps found that still fails.
# Usage: random-sessions.sh COUNT [FIRST_SEED [STEPS]]   (defaults: seed 1, 1000 steps)
# Builds the test program of the host's default Windows build first.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
count=${1:?usage: random-sessions.sh COUNT [FIRST_SEED [STEPS]]}
first=${2:-1}
steps=${3:-1000}
. scripts/wine-env.sh
kind=$(wine_default_build)
scripts/build.sh "$kind" longevity_win32_tests
export TAVECRON_SESSION_SEEDS="$first:$count" TAVECRON_SESSION_STEPS="$steps"
scripts/wine-session.sh "build/$kind" wine "build/$kind/tests/longevity_win32_tests.exe" \
  --gtest_filter='RandomSessions.*'
