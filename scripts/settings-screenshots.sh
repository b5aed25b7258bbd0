#!/usr/bin/env bash
# Screenshots of the settings, of the real program on a private X server, into docs/:
# settings-menu.png (the sound muted by Ctrl+M, the 設定 menu open on the music's volume) and
# visual-beep.png (play started with --visual-beep, taken in the tick of a beep of 3 to 10
# tiles: its pulse whole, as wide as such a beep's).
# Usage: bash scripts/settings-screenshots.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/game_window.sh
build="${1:-build}"
server=""
game=""
work="$(mktemp -d)"
trap 'kill $game $server 2>/dev/null || true; rm -rf "$work"' EXIT
start_private_x 800x700x24
key() { xdotool key --window "$window" "$@"; sleep 0.3; }

start_game_window "$build" visible
key ctrl+m F10 Right Down Right Down Down
import -window "$window" docs/settings-menu.png
echo docs/settings-menu.png
key Escape Escape  # the submenu, then the menu
end_game

# The strip's middle row (20 + 512 + 12) at the moment of a beep: the lit run's width and its
# middle's red, which is over 190 only in the beep's own tick.
pulse() {
  import -window "$window" "$work/shot.png"
  convert "$work/shot.png" -crop 480x1+0+544 -depth 8 txt:- |
    awk -F'[(),]' 'NR > 1 && $3 + $4 > 0 { n++; if (!first) first = $1 + 0; last = $1 + 0 }
                   NR > 1 && $1 + 0 == 240 { red = $3 }
                   END { print n + 0, red + 0 }'
}
start_game_window "$build" visible --visual-beep
key Return
for way in Down Up Up Up Left Left Up Right Right Down Down Left Up Up Right; do
  xdotool keydown --window "$window" "$way" sleep 0.1 keyup --window "$window" "$way"
  for _ in $(seq 25); do
    read -r width red < <(pulse)
    if [ "$width" -ge 232 ] && [ "$width" -le 400 ] && [ "$red" -gt 190 ]; then
      cp "$work/shot.png" docs/visual-beep.png
      echo "docs/visual-beep.png (a pulse $width pixels wide)"
      end_game
      exit 0
    fi
  done
done
echo "no beep of 3 to 10 tiles was caught" >&2
exit 1
