#!/usr/bin/env bash
# Builds quillorn.exe with the windows preset (a cross build with MinGW-w64) and packs
# dist/quillorn-windows-x64.zip: the exe, which needs nothing else, README.txt in Japanese and
# the font's notice. The texts go in as UTF-8 with a byte order mark and CRLF line ends, which
# every Notepad reads.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs="$(nproc)"

cmake --preset windows >/dev/null
cmake --build build-windows -j"$jobs" --target quillorn

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
cp build-windows/quillorn.exe "$stage/"
for text in README.txt FONT-NOTICE.txt; do
  { printf '\xef\xbb\xbf'; sed 's/$/\r/' "packaging/windows/$text"; } >"$stage/$text"
done

mkdir -p dist
zip="$PWD/dist/quillorn-windows-x64.zip"
rm -f "$zip"
# Fixed dates, so that the same sources give the same zip.
touch -d '2000-01-01 00:00:00' "$stage"/*
(cd "$stage" && zip -q -X "$zip" quillorn.exe README.txt FONT-NOTICE.txt)
echo "$zip"
unzip -l "$zip"
