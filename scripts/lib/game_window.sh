# Sourced by the screenshot scripts: starts the game on $DISPLAY with no sound and waits for
# its window. Sets $game (the process) and $window (the X window id); exits when none came.
start_game_window() {
  local build="$1" search=(--name '^Quillorn$')
  [ "${2:-}" = visible ] && search=(--onlyvisible "${search[@]}")
  SDL_AUDIODRIVER=dummy "$build/quillorn" &
  game=$!
  window=""
  for _ in $(seq 50); do
    window="$(xdotool search "${search[@]}" 2>/dev/null | head -1 || true)"
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "no window appeared" >&2; exit 1; }
  xdotool windowfocus --sync "$window"
  sleep 1
}
