#!/usr/bin/env bash
# Sets up and builds the browser version: the game and the editor as pages, the data
# packed with them, and the runner for node, in build/web/site, which any static web
# server can serve (python3 -m http.server --directory build/web/site). With --test,
# also runs the browser build's tests (every golden demo under node, the pages in
# headless Chromium).
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
tools/web/setup.sh build/web-zlib
export NODE_PATH=/usr/share/nodejs # emscripten's own tools look for their modules here
emcmake cmake -S . -B build/web -G Ninja -DCMAKE_BUILD_TYPE=Release -DWARNINGS_AS_ERRORS=ON \
    -DWEB_ZLIB_DIR="$PWD/build/web-zlib"
cmake --build build/web --target game editor runner
echo "The pages are in build/web/site: python3 -m http.server --directory build/web/site"
if [ "${1:-}" = "--test" ]; then
    cmake --build build/web
    ctest --test-dir build/web --output-on-failure -j 2
fi
