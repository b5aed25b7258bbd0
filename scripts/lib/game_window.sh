# Sourced by the screenshot scripts.

# Starts a private X server of the given screen size ("800x700x24") and makes it $DISPLAY.
# Sets $server (the process); the caller's EXIT trap stops it.
start_private_x() {
  local display=":$((90 + RANDOM % 100))"
  Xvfb "$display" -screen 0 "$1" -nolisten tcp >/dev/null 2>&1 &
  server=$!
  sleep 1
  export DISPLAY="$display"
}

# Starts the game on $DISPLAY with no sound and waits for its window; arguments after the
# second go to the game. Sets $game (the process) and $window (the X window id); exits when
# none came.
start_game_window() {
  local build="$1" search=(--name '^Quillorn$')
  [ "${2:-}" = visible ] && search=(--onlyvisible "${search[@]}")
  # The settings of a first start, whatever this machine's player chose.
  XDG_CONFIG_HOME="$(mktemp -d)" SDL_AUDIODRIVER=dummy "$build/quillorn" "${@:3}" &
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

# Ends the game with Esc and waits for it to exit. The key goes to the focused window through
# XTEST, not to $window: the game closes at the key's press, and a release sent to the window
# it has destroyed would be an X error that ends the script.
end_game() {
  xdotool key Escape
  wait "$game"
  game=""
}
