#!/usr/bin/env bash
# Tries the Debian package as a player would, on a clean Debian 12 made by debootstrap in a
# folder: `apt install ./quillorn_*.deb`, the game started from a terminal and from its launcher
# entry (gio launch, as a desktop's menu does) into a private Xvfb, then `apt remove`, purge and
# autoremove, with the system's file list compared before and after. Run as root; it downloads
# about 150 MB from Debian the first time and takes a few minutes, so it is not part of the
# test command. docs/package.md has what it showed.
# Usage: scripts/try-deb.sh [DEB]   (default: the one in dist/, from scripts/release.sh)
# The clean system is kept in /var/tmp/quillorn-bookworm (QUILLORN_BOOKWORM sets another
# folder) and copied afresh for every run.
set -euo pipefail
cd "$(dirname "$0")/.."
deb="$(realpath "${1:-$(ls dist/quillorn_*.deb | tail -1)}")"
cache="${QUILLORN_BOOKWORM:-/var/tmp/quillorn-bookworm}"
root="$cache/try"
report="$cache/report"
# What a player's system changes by itself and the player's own files; not the package's.
volatile='^/(proc|sys|dev|run|tmp|home|root)/|^/var/(cache|log|lib/apt|lib/dpkg)/|^/etc/ld\.so\.cache$'

step() { echo "== $*"; }
fail() {
  echo "try-deb: $*" >&2
  exit 1
}
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }
as_player() { chroot "$root" su - player -c "DISPLAY=$DISPLAY $*"; }
files() { chroot "$root" find / -xdev \( -type f -o -type l \) | grep -Ev "$volatile" | sort; }

cleanup() {
  [ -n "${server:-}" ] && kill "$server" 2>/dev/null
  for m in tmp/.X11-unix dev/pts dev proc; do
    mountpoint -q "$root/$m" && umount -l "$root/$m"
  done
  return 0
}
trap cleanup EXIT

if [ ! -d "$cache/pristine/usr" ]; then
  step "debootstrap bookworm into $cache/pristine"
  mkdir -p "$cache"
  debootstrap --variant=minbase bookworm "$cache/pristine" http://deb.debian.org/debian >/dev/null
fi
step "a fresh copy of the clean system"
rm -rf "$root" "$report"
mkdir -p "$report"
cp -a "$cache/pristine" "$root"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf"

# A private X server, its socket shown inside the clean system.
display=":$((200 + $$ % 500))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"

step "a player, and gio (what a desktop's menu uses to start an entry)"
in_root apt-get update -qq
in_root apt-get install -y -qq --no-install-recommends libglib2.0-bin >/dev/null
in_root useradd -m player
files >"$report/before"

step "apt install ./${deb##*/}"
cp "$deb" "$root/tmp/"
in_root apt install -y "./tmp/${deb##*/}" >"$report/install.log" 2>&1 ||
  fail "apt install failed: $(tail -5 "$report/install.log")"
files >"$report/installed"
in_root dpkg -L quillorn | sort >"$report/owned"
# sed reads to the end: a head that stopped early would end the script by SIGPIPE (pipefail).
grep -E '^(Setting up|Unpacking) ' "$report/install.log" | sed -n 's/^/  /; 1,80p' >"$report/unpacked"
echo "  $(grep -c '^Setting up ' "$report/install.log") packages set up"

step "its libraries resolve"
in_root ldd /usr/games/quillorn >"$report/ldd"
! grep -q 'not found' "$report/ldd" || fail "$(grep 'not found' "$report/ldd")"
echo "  $(wc -l <"$report/ldd") libraries, none missing"

# Waits for the game's window on the private display; $1 names the try.
wait_window() {
  for _ in $(seq 75); do
    window="$(xdotool search --name '^Quillorn$' 2>/dev/null | head -1 || true)"
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || fail "$1: no window within 15 s"
  sleep 1
  import -window root "$report/$2.png"
  echo "  $1: the window is up, $(xwininfo -id "$window" | sed -n 's/.*geometry //p')"
}
gone() {
  for _ in $(seq 50); do
    xdotool search --name '^Quillorn$' >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  fail "$1: the window is still there 10 s after Esc"
}

step "from a terminal: quillorn"
as_player 'command -v quillorn' | grep -qx /usr/games/quillorn || fail "quillorn is not on the player's PATH"
timeout 60 chroot "$root" su - player -c "DISPLAY=$DISPLAY quillorn" >"$report/terminal.log" 2>&1 &
game=$!
wait_window terminal terminal
xdotool windowfocus --sync "$window" key Escape
status=0
wait "$game" || status=$?
[ "$status" -ne 124 ] || fail "the game was still running 60 s after it started"
[ "$status" -eq 0 ] || fail "Esc ended the game with status $status"
gone terminal
echo "  Esc: exit status 0; it said: $(tr '\n' ' ' <"$report/terminal.log")"

step "from the menu: gio launch io.github.quillorn.Quillorn.desktop"
entry=/usr/share/applications/io.github.quillorn.Quillorn.desktop
exec_line="$(grep '^Exec=' "$root$entry")"
as_player "command -v ${exec_line#Exec=}" >/dev/null || fail "$exec_line does not resolve"
as_player "gio launch $entry" >"$report/menu.log" 2>&1
wait_window menu menu
xdotool windowfocus --sync "$window" key Escape
gone menu
echo "  $exec_line resolves; Esc closed it"

step "apt remove quillorn, then dpkg --purge and apt autoremove"
in_root apt remove -y quillorn >"$report/remove.log" 2>&1
files >"$report/removed"
left="$(comm -12 "$report/owned" "$report/removed" | while read -r path; do
  [ -d "$root$path" ] || echo "$path"
done)"
[ -z "$left" ] || fail "apt remove left: $left"
echo "  none of its $(grep -c . "$report/owned") paths' files is left"
# apt forgets a package installed from a file once it is removed: dpkg purges it.
in_root dpkg --purge quillorn >>"$report/remove.log" 2>&1
in_root apt autoremove --purge -y >>"$report/remove.log" 2>&1
files >"$report/after"
if ! diff -u "$report/before" "$report/after" >"$report/difference"; then
  fail "the system differs from before the install: $(cat "$report/difference")"
fi
echo "  after purge and autoremove, the file list ($(wc -l <"$report/before") files) is as before"
echo "Everything as expected; lists, logs and screenshots in $report"
