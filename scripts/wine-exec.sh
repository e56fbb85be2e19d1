#!/usr/bin/env bash
# Runs a Windows program inside the test run's Wine session (see wine-session.sh).
set -euo pipefail
session=${OSTREL_WINE_SESSION:?OSTREL_WINE_SESSION names the session directory}
# shellcheck disable=SC1091
source "$session/env"
exec timeout "${OSTREL_WINE_TIMEOUT:-300}" wine "$@"
