#!/usr/bin/env bash
# Measures the Windows build under Wine on a private X server: the exe's size, the time from
# starting `wine quillorn.exe` (with the prefix's wineserver already running) to the first
# drawn title frame, and the CPU that the game's process and the wineserver use over 30 s on
# the title. Wine has no sound driver here.
# Usage: scripts/measure_windows.sh [seconds, default 30]
# Needs: the windows preset's build, build/bench/first_frame (built with the benchmarks),
# Xvfb and Wine. Prints one line per figure.
set -euo pipefail
cd "$(dirname "$0")/.."
exe="$PWD/build-windows/quillorn.exe"
seconds="${1:-30}"
work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv=d"
server=""
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# The first process matching a pattern that belongs to this prefix.
ours() {
  for p in $(pgrep -f "$1"); do
    if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      echo "$p"
      return
    fi
  done
}
now_ns() { date +%s%N; }
hz="$(getconf CLK_TCK)"

echo "quillorn.exe: $(stat -c %s "$exe") bytes"
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
server=$!
read -r -t 10 display <"$work/display"
export DISPLAY=":$display"
mkdir -p "$WINEPREFIX"
wineserver --persistent  # kept up between the starts, as on a desktop session
wine wineboot --init >/dev/null 2>&1

# A pixel of the title's golden lettering, (240, 52) of the client area, under the 19-pixel
# menu bar that Wine draws.
read -r first_frame_ms mapped_ms pid < <(build/bench/first_frame 240 71 /usr/bin/wine "$exe")
echo "start to first title frame: ${first_frame_ms} ms (window mapped after ${mapped_ms} ms)"

sleep 2
game="$(ours 'quillorn\.exe')"
ws="$(ours wineserver)"
g0=$(cpu_ticks "$game"); w0=$(cpu_ticks "$ws"); t0=$(now_ns)
sleep "$seconds"
g1=$(cpu_ticks "$game"); w1=$(cpu_ticks "$ws"); t1=$(now_ns)
awk -v g=$((g1 - g0)) -v w=$((w1 - w0)) -v hz="$hz" -v ns=$((t1 - t0)) 'BEGIN {
  s = ns / 1e9
  printf "CPU on the title over %.1f s: game %.2f%%, wineserver %.2f%% of one core\n", s,
         100 * g / hz / s, 100 * w / hz / s }'
window="$(xdotool search --onlyvisible --name '^Quillorn$' | head -1)"
xdotool windowfocus --sync "$window" key Escape
while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
