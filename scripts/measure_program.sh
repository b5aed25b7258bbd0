#!/usr/bin/env bash
# Measures the real program in a real window on a private X server (Xvfb), with SDL's disk
# sound driver standing in for a sound card: the time from exec to the first drawn title
# frame, the CPU it uses over 30 s on the title and over 30 s of walking, its peak resident
# memory, and the time from a key press to its sound in the mixed output.
# Usage: scripts/measure_program.sh [path to quillorn, default build/quillorn] [seconds, default 30]
# Needs: Xvfb, xdotool, GNU time, and build/bench/first_frame (built with the benchmarks).
# Prints one line per figure.
set -euo pipefail
cd "$(dirname "$0")/.."
exe="${1:-build/quillorn}"
seconds="${2:-30}"
work="$(mktemp -d)"
server=""
game=""
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

now_ns() { date +%s%N; }
ticks_per_second="$(getconf CLK_TCK)"
cpu_ticks() {  # user + system time of a process, in clock ticks
  awk '{print $14 + $15}' "/proc/$1/stat"
}

# A private server on a free display.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
server=$!
read -r -t 10 display <"$work/display"
export DISPLAY=":$display"

# The player's settings of this machine stay out of it: defaults, in a folder of its own.
export XDG_CONFIG_HOME="$work/config"

# Start-up: exec, then the window's picture is read every half millisecond until the title's
# lettering shows (a pixel of the golden letters at (240, 52), below the 20-pixel menu bar).
audio="$work/audio.raw"
read -r first_frame_ms mapped_ms pid < <(SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" \
  build/bench/first_frame 240 72 /usr/bin/time -v -o "$work/time.txt" "$exe")
game=$pid
pid="$(pgrep -P "$game" -x quillorn || echo "$game")"
window="$(xdotool search --onlyvisible --name '^Quillorn$' | head -1)"
echo "exec to first title frame: ${first_frame_ms} ms (window mapped after ${mapped_ms} ms)"

# CPU on the still title.
sleep 2
c0=$(cpu_ticks "$pid"); t0=$(now_ns)
sleep "$seconds"
c1=$(cpu_ticks "$pid"); t1=$(now_ns)
awk -v c=$((c1 - c0)) -v hz="$ticks_per_second" -v ns=$((t1 - t0)) \
  'BEGIN { printf "CPU on the title over %.1f s: %.2f%% of one core\n", ns / 1e9, 100 * c / hz / (ns / 1e9) }'

# Key to sound: the cursor's beep. The disk driver writes each mixed buffer as it would be
# played; the time from the key to the write of the buffer holding the beep's first sound.
xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
sleep 0.5
before=$(stat -c %s "$audio")
key=$(now_ns)
xdotool key Down
: >"$work/sizes"
for _ in $(seq 1 400); do
  echo "$(now_ns) $(stat -c %s "$audio")" >>"$work/sizes"
done
# The device rests (is closed) on the silent title and opens again for the beep; the disk
# driver then starts its file afresh, so the beep is looked for from its beginning.
if [ "$(awk 'NR == 1 || $2 < m { m = $2 } END { print m }' "$work/sizes")" -lt "$before" ]; then
  before=0
fi
onset="$(od -An -v -t d2 -w4 -j "$before" "$audio" |
  awk '{ if ($1 > 200 || $1 < -200) { print NR - 1; exit } }' || true)"
if [ -n "$onset" ]; then
  byte=$((before + 4 * (onset + 1)))
  written="$(awk -v b="$byte" '$2 >= b { print $1; exit }' "$work/sizes")"
  # xdotool's own start and connection are in that time: take them out, measured on a key
  # the game ignores.
  x0=$(now_ns)
  for _ in 1 2 3 4 5; do xdotool key Shift_L; done
  xdotool_ms=$(( ($(now_ns) - x0) / 5000000 ))
  echo "key to sound: $(( (written - key) / 1000000 - xdotool_ms )) ms from the key event" \
    "($(( (written - key) / 1000000 )) ms from launching xdotool, which itself takes ${xdotool_ms} ms)"
else
  echo "key to sound: no beep found"
fi
xdotool key Up

# Walking: a new game, then steps right and left between tiles kept free of people
# around the start, for the given time.
xdotool key Return
sleep 1
xdotool keydown Down sleep 0.1 keyup Down sleep 0.6
c0=$(cpu_ticks "$pid"); t0=$(now_ns)
end=$(( t0 + seconds * 1000000000 ))
while [ "$(now_ns)" -lt "$end" ]; do
  for k in Right Left Left Right; do
    xdotool keydown $k sleep 0.1 keyup $k sleep 0.45
  done
done
c1=$(cpu_ticks "$pid"); t1=$(now_ns)
awk -v c=$((c1 - c0)) -v hz="$ticks_per_second" -v ns=$((t1 - t0)) \
  'BEGIN { printf "CPU while walking over %.1f s: %.2f%% of one core\n", ns / 1e9, 100 * c / hz / (ns / 1e9) }'
echo "peak resident memory so far: $(awk '/VmHWM/ {print $2, $3}' "/proc/$pid/status")"

xdotool key Escape
while kill -0 "$game" 2>/dev/null; do sleep 0.1; done
game=""
echo "exit: $(awk -F': ' '/Exit status/ {print $2}' "$work/time.txt")," \
  "peak resident memory (GNU time): $(awk -F': ' '/Maximum resident/ {print $2}' "$work/time.txt") kB"
