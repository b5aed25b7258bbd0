#!/usr/bin/env bash
# The screenshots of the settings into docs/: settings-menu.png (the 設定 menu open on the
# music's volume, the sound muted) and visual-beep.png (play with the beep shown, in the tick
# of a near beep), as the headless backend composes the whole window.
# Usage: bash scripts/settings-screenshots.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
cmake --build "$build" --target settings_shots >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/tests/settings/settings_shots" "$work"
for shot in settings-menu visual-beep; do
  convert "$work/$shot.ppm" "docs/$shot.png"
  echo "docs/$shot.png"
done
