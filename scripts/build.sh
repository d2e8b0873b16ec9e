#!/usr/bin/env bash
# Configures one build tree with the preset KIND of CMakePresets.json and
# builds it: build/KIND for KIND native (host g++, Release), asan (host g++,
# Debug, AddressSanitizer and UBSan), win32 (the 32-bit PE32 program, i686),
# win64 (the 64-bit PE32+ program, x86-64) or fuzz (clang: the libFuzzer
# targets of fuzz/ over the instrumented cores).
# Usage: build.sh KIND [TARGET...]   (no target: everything)
# TAVECRON_BUILD_DIR, when set, is the build tree instead of build/KIND.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=$1
shift
case "$kind" in
  native|asan|win32|win64|fuzz) ;;
  *) echo "build.sh: KIND is native, asan, win32, win64 or fuzz, not '$kind'" >&2; exit 2 ;;
esac
targets=()
for target in "$@"; do targets+=(--target "$target"); done
dir=${TAVECRON_BUILD_DIR:-build/$kind}
cmake --preset "$kind" -B "$dir" >/dev/null
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
