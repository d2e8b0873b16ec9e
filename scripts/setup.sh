#!/usr/bin/env bash
# Installs everything the build, the program and the tests need, from Debian
# packages only. Safe to run again: when every package and the ja_JP locale are
# present it returns at once without touching apt. Packages named as arguments
# are installed too (the release script adds the browser that renders the guide).
#
# The 32-bit Wine (wine32, from the i386 architecture) is installed only where
# this host runs 32-bit code (scripts/wine-env.sh decides); elsewhere its
# install scripts would fail to execute, and only the 64-bit programs run.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"

packages=(
  wine wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix
  cmake make g++ googletest libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick fonts-ipafont-gothic locales
  clang libclang-rt-dev clang-format clang-tidy python3
)
packages+=("$@")
if wine_host_runs_i386; then packages+=(wine32:i386); fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  LC_ALL=C dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if wine_host_runs_i386 && ! LC_ALL=C dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
    --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives code page 932.
if ! LC_ALL=C locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  "${sudo_cmd[@]}" sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
