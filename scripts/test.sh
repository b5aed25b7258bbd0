#!/usr/bin/env bash
# Builds everything and runs every test: once in the normal build (with the browser test on
# the page that scripts/web.sh builds, and the Windows build run under Wine), once with
# AddressSanitizer and UndefinedBehaviorSanitizer; then each fuzzing target for 10 s
# (QUILLORN_FUZZ_SECONDS sets another length). Compilers run through ccache, so a second run
# rebuilds only what changed, even from a fresh clone.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/build_env.sh

echo "== Normal build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLORN_WINDOWS_BUILD="$PWD/build-windows" >/dev/null
cmake --build build -j"$jobs"

echo "== Browser build (its host tools are the normal build's)"
QUILLORN_HOST_BUILD="$PWD/build" bash scripts/web.sh build

echo "== Windows build (cross, with the normal build's host tools), tested under Wine"
cmake --preset windows -DQUILLORN_HOST_BUILD="$PWD/build" >/dev/null
cmake --build build-windows -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== Sanitizer build"
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE web  # the browser once is enough

echo "== Fuzzing"
bash scripts/fuzz.sh "${QUILLORN_FUZZ_SECONDS:-10}"
