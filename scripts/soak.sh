#!/usr/bin/env bash
# A day of use at full length under Wine: 300 readings, 50 settings dialogs (OK and Cancel),
# 50 minimise and restore cycles, 100 wheel steps; prints the toolbar's GDI objects, USER
# objects, kernel handles and memory along the way. Set-up and build included.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
session="$PWD/build/soak-session"
bash scripts/wine-session.sh start "$session" >/dev/null
trap 'bash scripts/wine-session.sh stop "$session"' EXIT
OSTREL_WINE_SESSION="$session" OSTREL_BIN="$PWD/build/win/bin" OSTREL_ARTIFACTS="$PWD/build/soak-artifacts" \
  SOAK_READINGS=${SOAK_READINGS:-300} SOAK_DIALOGS=${SOAK_DIALOGS:-50} SOAK_CYCLES=${SOAK_CYCLES:-50} \
  SOAK_WHEEL=${SOAK_WHEEL:-100} bash tests/e2e/soak_e2e.sh
