#!/usr/bin/env bash
# Sets up, builds and plays the game. Run it from anywhere; the game reads data/
# relative to the repository root.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release --target game editor
exec ./build/release/game
