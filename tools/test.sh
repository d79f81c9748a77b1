#!/usr/bin/env bash
# Installs what is missing, builds the test tree and runs every test.
# QUENNARY_SANITIZE=address,undefined (or thread) builds with sanitizers into build/test-<sanitizers>.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

sanitize="${QUENNARY_SANITIZE:-}"
build="build/test${sanitize:+-${sanitize//,/-}}"
jobs="$(nproc)"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENNARY_TESTS=ON \
  -DQUENNARY_SANITIZE="$sanitize" >/dev/null
cmake --build "$build" -j "$jobs"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

status=0
# Everything but the X11 tests runs on the headless backend, with no display at all.
env -u DISPLAY ctest --test-dir "$build" -LE x11 -j "$jobs" --output-on-failure || status=1
# The X11 tests get a virtual X server of their own.
if ctest --test-dir "$build" -L x11 -N | grep -q "Total Tests: [1-9]"; then
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$build" -L x11 -j 1 --output-on-failure || status=1
fi
exit $status
