#!/usr/bin/env bash
# Sets up the machine and runs every test: the code format check, the native
# core tests, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short run of each fuzz target of the core's
# parsers (scripts/fuzz.sh), and the Windows tests (unit tests of the Win32
# binding and black-box tests of tavecron.exe) under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc)

bash scripts/setup.sh

echo "== format =="
# Every C++ file as .clang-format writes it; `clang-format -i FILE` fixes one.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "format ok"

echo "== native =="
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native -j"$jobs" --output-on-failure

echo "== native, sanitizers =="
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DTAVECRON_SANITIZE=ON >/dev/null
cmake --build build/asan -j"$jobs"
ctest --test-dir build/asan -j"$jobs" --output-on-failure

echo "== fuzz smoke: each libFuzzer target for 4 seconds =="
scripts/fuzz.sh 4

echo "== windows, under wine =="
cmake -S . -B build/win32 -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win32 -j"$jobs"
scripts/wine-session.sh build/win32 ctest --test-dir build/win32 --output-on-failure
