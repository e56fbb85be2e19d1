#!/usr/bin/env bash
# Time from the hot key to the engine's Speak (the journal) and to the first sound heard (the
# session's null sink, with the engine's real voices), for a selection and for the whole text,
# with the capture's long waits ("QuickCapture" 0) and with the quick capture (1) side by side.
# The long waits are the focus wait (at most about 1 s), one second of message dispatching per
# key sequence and the 50 ms clipboard timer; the quick capture keeps them only as upper bounds.
# Prints figures, asserts nothing. Needs a built tree: bash scripts/setup.sh first.
# Usage: measure-reading.sh [RUNS]; OSTREL_WINE_SESSION=DIR uses a running session.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
root=$PWD
bin=$root/build/win/bin
probe=$root/build/tests/sound/sound_probe
rate=22050
[ -x "$probe" ] && [ -f "$bin/Ostrel4.exe" ] && [ -f "$bin/ostrel_driver.exe" ] ||
  { echo "build first: bash scripts/setup.sh" >&2; exit 1; }
work=$(mktemp -d)
session=${OSTREL_WINE_SESSION:-$work/session}
pids=()
finish() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "${OSTREL_WINE_SESSION:-}" ] || bash scripts/wine-session.sh stop "$session"
  rm -rf "$work"
}
trap finish EXIT
[ -n "${OSTREL_WINE_SESSION:-}" ] || bash scripts/wine-session.sh start "$session" >/dev/null
# shellcheck disable=SC1091
source "$session/env"
unset ORVATONE_SPEAK_MS
journal=$work/journal.txt
: >"$journal"
ORVATONE_JOURNAL=$(winepath -w "$journal")
export ORVATONE_JOURNAL
notepad="Untitled - Notepad" title="Ostrel Quartet"
key='HKCU\Software\Brantic\Ostrel4'

drive() { (cd "$bin" && timeout 60 wine ./ostrel_driver.exe "$@" >"$work/out"); tr -d '\r' <"$work/out"; }
count() { grep -c " $1 " "$journal" || true; }

recording=$work/reading.raw
"$probe" record "$recording" $rate "$OSTREL_SINK.monitor" &
pids+=($!)
for _ in $(seq 200); do [ -s "$recording.clock" ] && break; sleep 0.05; done
(cd "$work" && exec timeout 3600 wine notepad >/dev/null 2>&1) &
pids+=($!)
drive wait-window "$notepad" 60 >/dev/null
drive edit-set "$notepad" "読み上げの速さを測ります。" >/dev/null

median() { sort -n | awk 'NF { v[++n] = $1 } END { if (n) print v[int((n + 1) / 2)]; else print "-" }'; }

# run CASE KEYS: RUNS readings; SPEAK and SOUND get the median ms from the hot key.
run() {
  local speaks=() sounds=()
  for _ in $(seq "$runs"); do
    drive edit-select "$notepad" 0 -1 >/dev/null
    local before done sent spoken heard
    before=$(count Speak)
    done=$(count Done)
    sent=$(drive key "$notepad" "$2")
    for _ in $(seq 300); do [ "$(count Speak)" -gt "$before" ] && break; sleep 0.05; done
    spoken=$(grep ' Speak ' "$journal" | tail -1 | awk '{print $1}')
    [ "$(count Speak)" -gt "$before" ] && speaks+=($((spoken - sent)))
    # The next reading must find this one ended, or its hot key would pause it.
    for _ in $(seq 600); do [ "$(count Done)" -gt "$done" ] && break; sleep 0.05; done
    sleep 0.5
    heard=$("$probe" analyse "$recording" $rate --from-ms "$sent" |
      awk -F= -v s="$sent" '$1 == "first_voiced_ms" && $2 != "" { printf "%.0f\n", $2 - s }')
    [ -z "$heard" ] || sounds+=("$heard")
  done
  SPEAK=$(printf '%s\n' "${speaks[@]}" | median)
  SOUND=$(printf '%s\n' "${sounds[@]}" | median)
  echo "  $1: Speak ${speaks[*]:-none} ms; first sound ${sounds[*]:-none} ms" >&2
}

declare -A figures
for quick in 0 1; do
  timeout 60 wine reg add "$key" /v QuickCapture /t REG_DWORD /d "$quick" /f >/dev/null
  (cd "$bin" && exec timeout 3600 wine ./Ostrel4.exe >/dev/null 2>&1) &
  program=$!
  pids+=("$program")
  drive wait-window "$title" 60 >/dev/null
  echo "QuickCapture $quick, $runs runs:" >&2
  run "selection (Ctrl+P)" "0xA2+0x50"
  figures[$quick,selection,speak]=$SPEAK figures[$quick,selection,sound]=$SOUND
  run "whole text (Ctrl+Shift+P)" "0xA2+0xA0+0x50"
  figures[$quick,whole,speak]=$SPEAK figures[$quick,whole,sound]=$SOUND
  drive key "$title" 0x1B >/dev/null
  drive wait-gone "$title" 30 >/dev/null || kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
done
timeout 60 wine reg delete "$key" /v QuickCapture /f >/dev/null 2>&1 || true

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f\n", a / b }'; }
echo "Medians in ms from the hot key ($runs runs); ratio = long waits / quick"
printf '%-28s %12s %12s %8s\n' "" "long waits" "quick" "ratio"
for case in selection whole; do
  for what in speak sound; do
    label="$([ $case = selection ] && echo selection || echo whole text) to $([ $what = speak ] && echo Speak || echo first sound)"
    printf '%-28s %12s %12s %8s\n' "$label" "${figures[0,$case,$what]}" "${figures[1,$case,$what]}" \
      "$(ratio "${figures[0,$case,$what]}" "${figures[1,$case,$what]}")"
  done
done
echo "Rerun: bash scripts/measure-reading.sh $runs"
