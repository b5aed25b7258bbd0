#!/usr/bin/env bash
# Screenshots of the Windows build under Wine, into docs/: windows-title.png (the title with
# the native menu dropped down) and windows-help.png (the native help dialog). Wine draws the
# window's own frame and caption, and shows the Japanese texts of the menu and the dialog in
# IPA P Gothic (fonts-ipafont-gothic) where Windows would use its own Japanese font.
# Usage: bash scripts/windows-screenshots.sh   (after the windows preset's build)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/game_window.sh
exe="$PWD/build-windows/quillorn.exe"
[ -f "$exe" ] || { echo "build it first: cmake --preset windows && cmake --build build-windows" >&2; exit 1; }
export WINEPREFIX="$PWD/build-windows/screenshot-prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv=d"
server=""
game=""
trap 'kill $game 2>/dev/null || true; wineserver -k 2>/dev/null || true; kill $server 2>/dev/null || true' EXIT
start_private_x 1024x768x24

if [ ! -d "$WINEPREFIX" ]; then
  wine wineboot --init >/dev/null 2>&1
  link='Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2"; do
    wine reg add "HKLM\\$link" /v "$face" /t REG_MULTI_SZ /d "ipagp.ttf,IPAPGothic" /f >/dev/null
  done
  # The dialog's font by its Japanese name; reg.exe would not get it through a C locale.
  reg="$WINEPREFIX/fonts.reg"
  { printf '\xff\xfe'
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n"ＭＳ Ｐゴシック"="IPAPGothic"\r\n' |
      iconv -f UTF-8 -t UTF-16LE; } >"$reg"
  wine regedit /S "$reg"
  # Wine draws the frame and caption itself, as Windows would; there is no window manager.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
fi

wine "$exe" >/dev/null 2>&1 &
game=$!
window=""
for _ in $(seq 100); do
  window="$(xdotool search --onlyvisible --name '^Quillorn$' 2>/dev/null | head -1 || true)"
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "no window appeared" >&2; exit 1; }
xdotool windowmove "$window" 40 30
xdotool windowfocus --sync "$window"
sleep 1

# The window's frame on the screen, with a margin for the drop-down and the dialog.
shot() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))" +repage \
    "docs/$1.png"
  echo "docs/$1.png"
}
xdotool key --delay 200 F10 Return
sleep 1
shot windows-title
xdotool key --delay 200 Down Down Down Return
sleep 1.5
shot windows-help
xdotool key --delay 200 Escape Escape
wait "$game"
game=""
