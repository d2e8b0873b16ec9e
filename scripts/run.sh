#!/usr/bin/env bash
# Sets up the machine, builds tavecron.exe and runs it under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh
cmake -S . -B build/win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win32 -j"$(nproc)" --target tavecron
echo "Built build/win32/app/tavecron.exe. The program is not yet runnable: its main window comes in a later change."
