#!/usr/bin/env bash
# Runs a Windows program inside the test run's Wine session (see wine-session.sh).
set -euo pipefail
session=${OSTREL_WINE_SESSION:?OSTREL_WINE_SESSION names the session directory}
# shellcheck disable=SC1091
source "$session/env"
# A failure that leaves no output of its own (a program that could not even start) still says
# how it ended, so that a rare one can be told apart from a test's failure.
run() {
  started=$(date +%s%N)
  status=0
  timeout "${OSTREL_WINE_TIMEOUT:-300}" wine "$@" || status=$?
  elapsed=$((($(date +%s%N) - started) / 1000000))
  if [ "$status" -ne 0 ]; then echo "wine-exec: ended with status $status after $elapsed ms: $*" >&2; fi
}
run "$@"
# Now and then (about once in a thousand starts, under load) Wine ends a program with status
# 1 within a few tens of milliseconds, before it has run a line of its own. Far quicker than
# any program of ours ends, so it is started once more; a real failure fails again.
if [ "$status" -ne 0 ] && [ "$elapsed" -lt 200 ]; then
  echo "wine-exec: too quick to have run; once more" >&2
  run "$@"
fi
exit "$status"
