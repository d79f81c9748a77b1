#!/usr/bin/env bash
# Installs what is missing, builds the release tree and starts the converter on the current display.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENNARY_TESTS=OFF >/dev/null
cmake --build build/release
exec build/release/app/quennary "$@"
