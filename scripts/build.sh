#!/usr/bin/env bash
# Configures and builds one build tree: build/KIND for KIND native (host g++,
# Release), asan (host g++, Debug, AddressSanitizer and UBSan), win32 (the
# 32-bit PE32 program, i686), win64 (the 64-bit PE32+ program, x86-64) or
# fuzz (clang: the libFuzzer targets of fuzz/ over the instrumented cores).
# Usage: build.sh KIND [TARGET...]   (no target: everything)
# TAVECRON_BUILD_DIR, when set, is the build tree instead of build/KIND.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=$1
shift
case "$kind" in
  native) options=(-DCMAKE_BUILD_TYPE=Release) ;;
  asan) options=(-DCMAKE_BUILD_TYPE=Debug -DTAVECRON_SANITIZE=ON) ;;
  win32) options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake) ;;
  win64) options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake) ;;
  fuzz) options=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTAVECRON_FUZZ=ON) ;;
  *) echo "build.sh: KIND is native, asan, win32, win64 or fuzz, not '$kind'" >&2; exit 2 ;;
esac
targets=()
for target in "$@"; do targets+=(--target "$target"); done
dir=${TAVECRON_BUILD_DIR:-build/$kind}
cmake -S . -B "$dir" "${options[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
