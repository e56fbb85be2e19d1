#!/usr/bin/env bash
# Time from the hot key to the engine's Speak, for selection and whole-text reading, against
# the waits the capture itself prescribes: the focus wait (at most about 1 s, until the
# wall-clock second changes), one second of message dispatching per key sequence, and the
# 50 ms clipboard timer. Needs a built tree: bash scripts/setup.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
session=$(mktemp -d)
bin=$PWD/build/win/bin
journal=$session/journal.txt
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; bash scripts/wine-session.sh stop "$session"; rm -rf "$session"' EXIT
bash scripts/wine-session.sh start "$session" >/dev/null
# shellcheck disable=SC1091
source "$session/env"
drive() { (cd "$bin" && timeout 60 wine ./ostrel_driver.exe "$@" >"$session/out"); tr -d '\r' <"$session/out"; }
(cd "$session" && exec timeout 900 wine notepad >/dev/null 2>&1) &
pids+=($!)
drive wait-window "Untitled - Notepad" 60 >/dev/null
export ORVATONE_JOURNAL=$(winepath -w "$journal") ORVATONE_SPEAK_MS=200
(cd "$bin" && exec timeout 900 wine ./Ostrel4.exe >/dev/null 2>&1) &
pids+=($!)
drive wait-window "Ostrel Quartet" 60 >/dev/null
drive edit-set "Untitled - Notepad" "読み上げの速さを測ります。" >/dev/null

measure() {  # KIND-NAME KEYS PRESCRIBED-MS
  local total=0 values=()
  for _ in $(seq "$runs"); do
    drive edit-select "Untitled - Notepad" 0 -1 >/dev/null
    local before sent spoken
    before=$(grep -c ' Speak ' "$journal" || true)
    sent=$(drive key "Untitled - Notepad" "$2")
    for _ in $(seq 200); do [ "$(grep -c ' Speak ' "$journal" || true)" -gt "$before" ] && break; sleep 0.05; done
    spoken=$(grep ' Speak ' "$journal" | tail -1 | awk '{print $1}')
    values+=($((spoken - sent)))
    total=$((total + spoken - sent))
    sleep 1
  done
  local mean=$((total / runs))
  echo "$1: ${values[*]} ms; mean $mean ms; prescribed waits at most $3 ms; ratio $(awk -v a="$mean" -v b="$3" 'BEGIN { printf "%.2f", a / b }')"
}
measure "selection reading (Ctrl+P)" "0xA2+0x50" 2050
measure "whole-text reading (Ctrl+Shift+P)" "0xA2+0xA0+0x50" 3050
