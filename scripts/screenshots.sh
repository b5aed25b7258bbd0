#!/usr/bin/env bash
# Screenshots of the real program on a private X server, into docs/: the title, the
# instructions page, play in room 2, the room survey's message box and the people shown by E.
# Usage: bash scripts/screenshots.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 800x700x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $game $server 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$display"
SDL_AUDIODRIVER=dummy "$build/quillorn" &
game=$!
window=""
for _ in $(seq 50); do
  window="$(xdotool search --name '^Quillorn$' 2>/dev/null | head -1 || true)"
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "no window appeared" >&2; exit 1; }
xdotool windowfocus --sync "$window"
sleep 1

shot() { import -window "$window" "docs/$1.png"; echo "docs/$1.png"; }
key() { xdotool key --window "$window" "$@"; sleep 0.3; }

shot title
key Down Down Return
shot instructions
key Return
key Return  # GAME
sleep 0.5
shot play-room2
key space  # the survey: the king looks round and counts
sleep 2.5
shot play-survey
key Return
sleep 0.5
key e
sleep 0.3
shot play-reveal
key Escape
wait "$game"
