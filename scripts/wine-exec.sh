#!/usr/bin/env bash
# Runs a Windows program inside the test run's Wine session (see wine-session.sh).
set -euo pipefail
session=${OSTREL_WINE_SESSION:?OSTREL_WINE_SESSION names the session directory}
# shellcheck disable=SC1091
source "$session/env"
# A failure that leaves no output of its own (a program that could not even start) still says
# how it ended, so that a rare one can be told apart from a test's failure.
started=$(date +%s%N)
status=0
timeout "${OSTREL_WINE_TIMEOUT:-300}" wine "$@" || status=$?
if [ "$status" -ne 0 ]; then
  echo "wine-exec: ended with status $status after $((($(date +%s%N) - started) / 1000000)) ms: $*" >&2
fi
exit "$status"
