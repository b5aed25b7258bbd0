#!/usr/bin/env bash
# Screenshots of the real program at the desktop's sizes, into docs/: the title screen and
# play in room 2 in a window at 2x (Ctrl+2), and play in fullscreen (Alt+Enter) on a
# 1920 x 1200 screen under openbox, the frame centred at 2x on black.
# Usage: bash scripts/desktop-screenshots.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/game_window.sh
build="${1:-build}"
server=""
wm=""
game=""
trap 'kill $game $wm $server 2>/dev/null || true' EXIT
start_private_x 1920x1200x24
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
start_game_window "$build" visible

shot() { import -window "$1" "docs/$2.png"; echo "docs/$2.png"; }
key() { xdotool key --delay 60 "$@"; sleep 0.5; }

key ctrl+2
shot "$window" window-2x
key Return  # GAME
sleep 0.5
shot "$window" play-room2-2x
key alt+Return
sleep 0.5
shot root fullscreen
key alt+Return Escape
wait "$game"
game=""
