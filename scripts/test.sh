#!/usr/bin/env bash
# Builds everything and runs every test: once in the normal build (with the Windows build,
# which it runs under Wine), once with AddressSanitizer and UndefinedBehaviorSanitizer; then
# each fuzzing target for 30 s.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs="$(nproc)"

echo "== Normal build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLORN_WINDOWS_BUILD="$PWD/build-windows" >/dev/null
cmake --build build -j"$jobs"

echo "== Windows build (cross, with the normal build's host tools), tested under Wine"
cmake --preset windows -DQUILLORN_HOST_BUILD="$PWD/build" >/dev/null
cmake --build build-windows -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== Sanitizer build"
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== Fuzzing"
bash scripts/fuzz.sh 30
