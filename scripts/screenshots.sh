#!/usr/bin/env bash
# Screenshots of the real program on a private X server, into docs/: the title, the window
# menu open on it and the help dialog, the instructions page, play in room 2, the room survey's message box and the people shown by E,
# then the story in the throne room, the ending in the store room and the staff roll.
# Usage: bash scripts/screenshots.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/game_window.sh
build="${1:-build}"
server=""
game=""
trap 'kill $game $server 2>/dev/null || true' EXIT
start_private_x 800x700x24
start_game_window "$build"

shot() { import -window "$window" "docs/$1.png"; echo "docs/$1.png"; }
# The ending and the staff roll have no entry in the window's menu: their commands (40004 and
# 40009) are handed to the running program's window procedure through gdb, as a menu that
# named them would hand them.
menu_command() {
  gdb -p "$game" -batch -ex "call (int)quillorn::MainWindowProc(273, $1, 0)" >/dev/null 2>&1
}
key() { xdotool key --window "$window" "$@"; sleep 0.3; }

# The castle's rooms drawn from the built map and sheet, so the copy in docs/ keeps up
# with both.
cmake --build "$build" --target castle_preview >/dev/null
cp "$build/tools/mapc/castle-rooms.png" docs/castle-rooms.png
echo docs/castle-rooms.png

shot title
key F10
shot menu
key Escape F10 Down Down Down Return  # 説明
sleep 0.3
shot help-dialog
key Return
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

# The story from the window menu, up to the queen's flat refusal (its sixth line).
key F10 Down Down Return
sleep 3.2
for _ in 1 2 3 4 5; do key Return; sleep 1.9; done
shot story-throne-room

# The ending, up to the king greeting the candy drops (its third line).
menu_command 40004
sleep 2.5
key Return
sleep 2.5
key Return
sleep 2.3
shot ending-store-room

# The staff roll, some seconds in.
menu_command 40009
sleep 4
shot staff-roll
end_game
