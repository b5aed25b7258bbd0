#!/usr/bin/env bash
# Builds Quillorn for the browser into build-web/page/ (the page's every file, and nothing
# else) and serves it with Python's static server.
# The host tools are built natively in build-web/host/, or taken from the native build that
# QUILLORN_HOST_BUILD names (the test command passes its build/).
# Usage: scripts/web.sh [PORT]         build, then serve on 127.0.0.1:PORT (default 8000)
#        scripts/web.sh --lan [PORT]   build, then serve on every address, and print the
#                                      addresses that a phone on the same network can open
#        scripts/web.sh build          build, and install the browser tests' driver
#                                      (puppeteer-core, which drives the installed Chromium
#                                      and downloads no browser)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
export NODE_PATH=/usr/share/nodejs  # Debian's Emscripten finds its optimizer's acorn here
cmake --preset web -DQUILLORN_HOST_BUILD="${QUILLORN_HOST_BUILD:-}" >/dev/null
cmake --build --preset web -j"$(nproc)"

if [ "${1:-}" = build ]; then
  if [ ! -d build-web/node/node_modules/puppeteer-core ]; then
    mkdir -p build-web/node
    (cd build-web/node && PUPPETEER_SKIP_DOWNLOAD=1 npm install --no-audit --no-fund --silent \
      puppeteer-core@24)
  fi
  exit 0
fi

bind=(--bind 127.0.0.1)
lan=""
if [ "${1:-}" = --lan ]; then
  # Every address: IPv6 and IPv4 together where the machine has IPv6.
  bind=(--bind 0.0.0.0)
  [ -e /proc/net/if_inet6 ] && bind=(--bind ::)
  lan=1
  shift
fi
port="${1:-8000}"
echo "Quillorn in the browser: http://127.0.0.1:$port/"
if [ -n "$lan" ]; then
  addresses=$(hostname -I 2>/dev/null || true)
  for a in $addresses; do
    if [[ "$a" != *:* ]]; then
      echo "  on this network: http://$a:$port/"
    elif [ "${bind[1]}" = :: ]; then
      echo "  on this network: http://[$a]:$port/"
    fi
  done
  [ -n "$addresses" ] || echo "  (this machine has no network address but its own)"
  echo "  Over plain http on these addresses the sound is mixed on the page's thread and the"
  echo "  page does not play offline; https (or 127.0.0.1 on this machine) gives both."
fi
exec python3 -m http.server "$port" "${bind[@]}" --directory build-web/page
