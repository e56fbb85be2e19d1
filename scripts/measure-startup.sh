#!/usr/bin/env bash
# Time from process start to a visible toolbar under Wine (the first PresentCanvas happens
# just before it is shown), over several starts; prints each and the median.
# Needs a built tree: bash scripts/setup.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
session=$(mktemp -d)
bin=$PWD/build/win/bin
notepad=""
trap '[ -z "$notepad" ] || kill "$notepad" 2>/dev/null; bash scripts/wine-session.sh stop "$session"; rm -rf "$session"' EXIT
bash scripts/wine-session.sh start "$session" >/dev/null
# shellcheck disable=SC1091
source "$session/env"
# An application stays open, as on a user's desktop. Without one, Wine ends its desktop
# process with the toolbar, and the next start waits for a new one: 3 to 10 s of which go to
# its service start timing out, which is Wine's time, not the program's.
(cd "$session" && exec timeout 3600 wine notepad >/dev/null 2>&1) &
notepad=$!
(cd "$bin" && timeout 60 wine ./ostrel_driver.exe wait-window "Untitled - Notepad" 60) >/dev/null
times=()
for _ in $(seq "$runs"); do
  # Into a file: the started program inherits the output and would hold a pipe open.
  (cd "$bin" && timeout 120 wine ./ostrel_driver.exe time-start "$(winepath -w "$bin/Ostrel4.exe")" "Ostrel Quartet" >"$session/ms")
  ms=$(tr -d '\r' <"$session/ms")
  times+=("$ms")
  (cd "$bin" && timeout 60 wine ./ostrel_driver.exe key "Ostrel Quartet" 0x1B && timeout 60 wine ./ostrel_driver.exe wait-gone "Ostrel Quartet" 30) >/dev/null
  # The next start must not meet this instance on its way out (it would end at once).
  for _ in $(seq 100); do pgrep -f 'Ostrel4\.exe' >/dev/null || break; sleep 0.1; done
  sleep 1
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(sed -n "$(( (runs + 1) / 2 ))p" <<<"$sorted")
echo "start to visible toolbar (ms): ${times[*]}"
echo "median: ${median} ms over ${runs} starts"
