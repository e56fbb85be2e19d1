#!/usr/bin/env bash
# Runs a Windows program inside the test run's Wine session with the stand-in sapi.dll installed
# and loaded in place of Wine's (sapi=n) for that program alone; ctest's emulator for the
# win.sapi tests. OSTREL_SAPI_DIR names the bench (default: the program's folder).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
session=${OSTREL_WINE_SESSION:?OSTREL_WINE_SESSION names the session directory}
bench=${OSTREL_SAPI_DIR:-$(dirname "$1")}
overlay=$(mktemp -d)
trap 'rm -rf "$overlay"' EXIT
# The session's environment, and the override on top of its own.
{ cat "$session/env"; echo "export WINEDLLOVERRIDES=\"\$WINEDLLOVERRIDES;sapi=n\""; } >"$overlay/env"
( source "$overlay/env" && bash "$here/install-sapi-bench.sh" "$bench" )
status=0
OSTREL_WINE_SESSION=$overlay bash "$here/../../scripts/wine-exec.sh" "$@" || status=$?
exit "$status"
