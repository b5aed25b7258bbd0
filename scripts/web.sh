#!/usr/bin/env bash
# Builds Quillorn for the browser into build-web/ (index.html, quillorn.js, quillorn.wasm)
# and serves it on 127.0.0.1 with Python's static server.
# The host tools are built natively in build-web/host/, or taken from the native build that
# QUILLORN_HOST_BUILD names (the test command passes its build/).
# Usage: scripts/web.sh [PORT]   build, then serve on PORT (default 8000)
#        scripts/web.sh build    build, and install the browser test's driver (puppeteer-core,
#                                which drives the installed Chromium and downloads no browser)
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

port="${1:-8000}"
echo "Quillorn in the browser: http://127.0.0.1:$port/"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web
