#!/usr/bin/env bash
# Sets up the machine and runs every test: the code format check, the static
# analysis (scripts/tidy.sh), the native core tests, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short run of each fuzz target of the core's
# parsers (scripts/fuzz.sh), and the Windows tests (unit tests of the Win32
# binding and black-box tests of tavecron.exe) under Wine.
#
# Both Windows programs are built: the 64-bit PE32+ (build/win64) and the
# 32-bit PE32 (build/win32), and the release packages are made from them and
# checked as scripts/package.sh makes them, the guide's rendering in a browser
# aside. The PE32+ suite runs on every x86-64 host; the PE32 suite runs where
# the host runs 32-bit code, and elsewhere the PE32 programs are checked
# without running them (scripts/check-pe.sh, from the package script).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc)
. scripts/wine-env.sh

bash scripts/setup.sh

echo "== format =="
# Every C++ file as .clang-format writes it; `clang-format -i FILE` fixes one.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
# The brace rule of the README (Layout): a body on a line of its own is braced.
git ls-files -z '*.cpp' '*.h' | xargs -0 python3 scripts/check-braces.py
echo "format ok"

echo "== static analysis =="
# clang-tidy with the checks of .clang-tidy over the core and the Win32 binding.
bash scripts/tidy.sh

echo "== native =="
scripts/build.sh native
ctest --test-dir build/native -j"$jobs" --output-on-failure

echo "== native, sanitizers =="
scripts/build.sh asan
ctest --test-dir build/asan -j"$jobs" --output-on-failure

echo "== fuzz smoke: each libFuzzer target for 4 seconds =="
scripts/fuzz.sh 4

echo "== windows: both builds, and the release packages made and checked =="
scripts/build.sh win64
scripts/build.sh win32
# Under the Japanese locale that the Wine runs use, which a release machine may
# have as its own: the scripts must read their tools' output all the same.
LC_ALL=ja_JP.UTF-8 bash scripts/package.sh --no-render
# The zips as their sums say (a release publishes the sums beside them).
(cd dist && sha256sum --check --strict SHA256SUMS)

# In parallel: tests that share the display, the foreground or a prefix hold a
# RESOURCE_LOCK (tests/CMakeLists.txt), and the black-box tests have a Wine
# session of their own, so they run beside the unit tests.
echo "== windows, PE32+ (x86-64), under wine64 =="
scripts/wine-session.sh build/win64 ctest --test-dir build/win64 -j"$jobs" --output-on-failure

echo "== windows, PE32 (i686), under wine =="
if wine_host_runs_i386; then
  scripts/wine-session.sh build/win32 ctest --test-dir build/win32 -j"$jobs" --output-on-failure
else
  echo "PE32 Wine tests skipped: this host runs no 32-bit code; the PE32 build was compiled and its format and imports checked"
fi
