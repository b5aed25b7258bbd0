#!/usr/bin/env bash
# Takes the screenshots of the story, the ending and the staff roll in docs/ from the real
# program on a private Xvfb server. The story is chosen on the title with the keyboard; the
# ending and the staff roll have no entry in the window's menu, so their menu commands (40004
# and 40009) are handed to the running program's window procedure through gdb, just as a
# menu that names them would.
set -euo pipefail
cd "$(dirname "$0")/.."
game=${1:-build/quillorn}
out=docs

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>/tmp/quillorn_shots_display &
server=$!
trap 'kill $game_pid $server 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -s /tmp/quillorn_shots_display ] && break; sleep 0.1; done
export DISPLAY=":$(cat /tmp/quillorn_shots_display)"

SDL_AUDIODRIVER=dummy "$game" &
game_pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name '^Quillorn$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "no game window" >&2; exit 1; }
xdotool windowfocus --sync "$window"
sleep 1

key() { xdotool key --delay 40 "$@"; }
shot() { import -window "$window" -depth 8 "$out/$1"; }
menu_command() {
  gdb -p "$game_pid" -batch -ex "call (int)quillorn::MainWindowProc(273, $1, 0)" >/dev/null 2>&1
}

# The story: the queen's flat refusal in the throne room (line 6).
key Down Return
sleep 3.5
for _ in 1 2 3 4 5; do key Return; sleep 2.2; done
shot story-throne-room.png

# The ending: the king greets the candy drops (line 3).
menu_command 40004
sleep 2.8
key Return
sleep 2.8
key Return
sleep 2.6
shot ending-store-room.png

# The staff roll, some seconds in.
menu_command 40009
sleep 4
shot staff-roll.png
