#!/usr/bin/env bash
# Runs the whole suite ROUNDS times (default 3) while stress-ng keeps every core busy, and lists every test that
# failed in any round with the rounds it failed in. A test that fails only here depends on timing: mend it at the
# cause. The build and the runs are tools/test.sh's own (QUENNARY_SANITIZE chooses the tree as it does there).
#   tools/soak-tests.sh [ROUNDS]
set -uo pipefail
cd "$(dirname "$0")/.."

rounds="${1:-3}"
logs="$(mktemp -d "${TMPDIR:-/tmp}/quennary-soak.XXXXXX")"
tools/install-deps.sh

stress-ng --cpu "$(nproc)" --timeout 24h --quiet &
stress_pid=$!
trap 'kill "$stress_pid" 2>/dev/null; wait "$stress_pid" 2>/dev/null' EXIT

for round in $(seq 1 "$rounds"); do
  echo "== round $round of $rounds under load (log: $logs/round-$round.log)"
  tools/test.sh >"$logs/round-$round.log" 2>&1
  status=$?
  echo "   exit status $status"
  if [ "$status" -ne 0 ] && ! grep -q "The following tests FAILED:" "$logs/round-$round.log"; then
    echo "round $round failed before any test failed (the build?); see its log"
    exit 1
  fi
done

# ctest lists failures as "<number> - <test name> (Failed|Timeout|...)" after "The following tests FAILED:".
failed="$(for round in $(seq 1 "$rounds"); do
  sed -n '/The following tests FAILED:/,/^Errors while running CTest/p' "$logs/round-$round.log" |
    sed -nE "s/^[[:space:]]*[0-9]+ - (.+) \(([A-Za-z ]+)\)$/\1 (\2)\tround $round/p"
done | sort)"

if [ -z "$failed" ]; then
  echo "no test failed in $rounds rounds"
  exit 0
fi
echo "tests that failed:"
echo "$failed" | awk -F'\t' '{ rounds[$1] = rounds[$1] (rounds[$1] ? ", " : "") $2 } END { for (t in rounds) print "  " t ": " rounds[t] }' | sort
exit 1
