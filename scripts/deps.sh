#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that building, playing and testing need, if any are
# missing: with apt-get as root, with sudo otherwise. Without either it prints the exact
# apt-get line and stops.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang clang-format
  libsdl2-dev libx11-dev libfreetype-dev libpng-dev xfonts-shinonome
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick openbox gdb
  desktop-file-utils appstream ccache lintian unzip
  emscripten node-acorn nodejs chromium python3
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine fonts-ipafont-gothic zip
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# The browser test installs its driver with npm, which some builds of nodejs bring along.
command -v npm >/dev/null 2>&1 || missing+=(npm)
[ ${#missing[@]} -eq 0 ] && exit 0

line="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  run=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  run=(sudo)
elif command -v sudo >/dev/null 2>&1 && [ -t 0 ]; then
  run=(sudo)
else
  echo "Quillorn needs these packages. Please run, as root:" >&2
  echo "  apt-get update && $line" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -qq
"${run[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
