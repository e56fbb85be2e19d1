# Shared by the end-to-end scripts: the run's Wine session, registry and journal helpers.
# shellcheck shell=bash disable=SC1091
set -euo pipefail
source "${OSTREL_WINE_SESSION:?}/env"
BIN=${OSTREL_BIN:?}
ARTIFACTS=${OSTREL_ARTIFACTS:?}
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d)
BACKGROUND=()
# Nothing started here may outlive the script: it would hold ctest's output open.
cleanup() {
  local pid
  for pid in "${BACKGROUND[@]}"; do kill "$pid" 2>/dev/null || true; done
  # Ours only: other runs on the machine (other prefixes) may have theirs open.
  for pid in $(pgrep -f 'Ostrel4\.exe'); do
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && kill "$pid" 2>/dev/null
  done
  # The next script must find the desktop as bare as this one found it.
  (cd "$BIN" && timeout 30 wine ./ostrel_driver.exe wait-gone "Untitled - Notepad" 20 >/dev/null 2>&1) || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# in_background COMMAND...: runs it in the background, ended at exit; LAST_PID is its PID.
in_background() {
  "$@" &
  LAST_PID=$!
  BACKGROUND+=("$LAST_PID")
}

fail() {
  echo "FAIL: $*" >&2
  # What the screen showed when it went wrong, and where the toolbar was.
  import -window root -display "$DISPLAY" "$ARTIFACTS/failed-$(basename "$0" .sh).png" 2>/dev/null || true
  echo "toolbar (left top width height exstyle visible): $( (cd "$BIN" && timeout 20 wine ./ostrel_driver.exe info "$TITLE") 2>/dev/null || echo none)" >&2
  xwininfo -root -tree -display "$DISPLAY" 2>/dev/null | grep -E '^ +0x' | grep -v '1x1+' | head -20 >&2 || true
  exit 1
}

# reg_value KEY NAME: the value's data as `wine reg query` prints it (0x.. for DWORDs); status 1 when absent.
reg_value() {
  local out
  out=$(timeout 60 wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r') || return 1
  awk -v name="$2" '
    { line = $0; sub(/^ +/, "", line) }
    index(line, name " ") == 1 {
      rest = substr(line, length(name) + 1); sub(/^ +/, "", rest)
      type = rest; sub(/ .*/, "", type)
      data = substr(rest, length(type) + 1); sub(/^ +/, "", data)
      print data; found = 1; exit
    }
    END { exit !found }' <<<"$out"
}

reg_dword() { printf '%d\n' "$(reg_value "$1" "$2")"; }

expect_value() {
  local actual
  actual=$(reg_value "$1" "$2") || fail "$1\\$2 is missing"
  [ "$actual" = "$3" ] || fail "$1\\$2 is '$actual', expected '$3'"
}

expect_absent() {
  if reg_value "$1" "$2" >/dev/null; then fail "$1\\$2 exists but should not"; fi
}

reset_registry() {
  timeout 60 wine reg delete 'HKCU\Software\Brantic' /f >/dev/null 2>&1 || true
  timeout 60 wine reg delete 'HKLM\Software\Brantic' /f >/dev/null 2>&1 || true
}

# A fresh engine journal for the next run of the program.
new_journal() {
  JOURNAL="$WORK/journal-$RANDOM.txt"
  : >"$JOURNAL"
  ORVATONE_JOURNAL=$(winepath -w "$JOURNAL" 2>/dev/null)
  export ORVATONE_JOURNAL
}

# journal_ops: the journal without its tick counts and hex payloads, one operation per line.
journal_ops() { awk '{ print $2, $3 }' "$JOURNAL"; }

# wait_for SECONDS DESCRIPTION COMMAND...: polls until COMMAND succeeds.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || fail "timed out after ${seconds}s waiting for: $what"
    sleep 0.2
  done
}

run_program() { (cd "$BIN" && timeout 120 wine ./Ostrel4.exe "$@"); }

TITLE="Ostrel Quartet"
KEY='HKCU\Software\Brantic\Ostrel4'
NOTEPAD="Untitled - Notepad"

set_dword() { timeout 60 wine reg add "$1" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null; }

# hex TEXT CODEPAGE: the text's bytes in that code page, as the engine's journal shows them.
hex() { printf '%s' "$1" | iconv -f UTF-8 -t "$2" | od -An -tx1 | tr -d ' \n' | tr 'a-f' 'A-F'; }

# open_notepad [X Y [TEXT]]: Wine's notepad, ended at exit (or after NOTEPAD_SECONDS); moved to X,Y,
# holding TEXT all selected.
open_notepad() {
  in_background bash -c 'cd "$0" && exec timeout "$1" wine notepad' "$WORK" "${NOTEPAD_SECONDS:-600}"
  driver wait-window "$NOTEPAD" 60 >/dev/null || fail "notepad did not open"
  [ $# -lt 2 ] || driver move "$NOTEPAD" "$1" "$2"
  if [ $# -ge 3 ]; then
    driver edit-set "$NOTEPAD" "$3"
    driver edit-select "$NOTEPAD" 0 -1
  fi
}

# log_folder: where the programs write their logs (%LOCALAPPDATA%\Brantic\Ostrel4), as a Unix path.
log_folder() {
  printf '%s/Brantic/Ostrel4\n' "$(winepath -u "$(timeout 60 wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')" 2>/dev/null)"
}

# driver COMMAND ...: the Windows-side helper (tests/e2e/driver); output without CRs.
driver() { (cd "$BIN" && timeout 60 wine ./ostrel_driver.exe "$@") | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# start_program ARGS...: the program in the background; PROGRAM_PID is the wine process.
start_program() {
  in_background bash -c 'cd "$0" && exec timeout 300 wine ./Ostrel4.exe "$@"' "$BIN" "$@"
  PROGRAM_PID=$LAST_PID
}

# wait_program_exit SECONDS: fails when the program is still running after that long.
wait_program_exit() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$PROGRAM_PID" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the program did not end within $1 s"
    sleep 0.2
  done
  wait "$PROGRAM_PID" || true
}

screenshot() { import -window root -display "$DISPLAY" "$1"; }

# pixel FILE X Y: "r,g,b" of one pixel of a screenshot.
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

# The toolbar's window has its title from the start of its start-up on, but is shown (at its
# place) only when the start-up is over: what a test reads of it must wait for that.
toolbar_shown() {
  local visible
  read -r _ _ _ _ _ visible <<<"$(driver info "$TITLE")" || return 1
  [ "$visible" = 1 ]
}

# wait_toolbar_shown WHAT: the toolbar exists and its start-up is over.
wait_toolbar_shown() {
  driver wait-window "$TITLE" 60 >/dev/null || fail "$1: the toolbar did not open"
  wait_for 30 "$1: the toolbar to be shown" toolbar_shown
}

toolbar_drawn() {
  screenshot "$WORK/probe.png"
  [ "$(pixel "$WORK/probe.png" "$1" "$2")" != "0,0,0" ]
}

# close_with_escape: Escape on the toolbar, as a user would press it; waits until it is gone.
close_with_escape() {
  driver key "$TITLE" 0x1B >/dev/null || fail "could not send Escape"
  driver wait-gone "$TITLE" 30 || fail "Escape did not close the toolbar"
  wait_program_exit 30
}

# open_and_close: the program opens its toolbar and is closed again with Escape.
open_and_close() {
  start_program "$@"
  driver wait-window "$TITLE" 60 >/dev/null || fail "the toolbar did not open"
  close_with_escape
}

# --- Sound: the session's null sink, recorded and measured by the sound probe (tests/sound) ---
PROBE=${OSTREL_SOUND_PROBE:-$(cd "$BIN/../.." && pwd)/tests/sound/sound_probe}
RATE=22050

# record_start NAME: records the sink into $WORK/NAME.raw (RECORDING) until record_stop; returns
# once sound (silence included) arrives, so that nothing played afterwards is missed.
record_start() {
  [ -x "$PROBE" ] || fail "no sound probe at $PROBE (build the native tree)"
  [ -n "${OSTREL_SINK:-}" ] || fail "the Wine session has no sound server (OSTREL_SINK unset)"
  RECORDING="$WORK/$1.raw"
  in_background "$PROBE" record "$RECORDING" "$RATE" "$OSTREL_SINK.monitor"
  RECORDER_PID=$LAST_PID
  wait_for 20 "the recorder to deliver sound" test -s "$RECORDING.clock"
}

record_stop() {
  kill "$RECORDER_PID" 2>/dev/null || true
  wait "$RECORDER_PID" 2>/dev/null || true
}

# record_mark: seconds recorded so far, for measuring only what follows.
record_mark() { awk -v b="$(stat -c %s "$RECORDING")" -v r="$RATE" 'BEGIN { printf "%.3f\n", b / 2 / r }'; }

# host_ms: the host's clock in ms, as the engine's journal ticks count it (Wine's GetTickCount64).
host_ms() { "$PROBE" now; }

# measure [PROBE-OPTIONS...]: the probe's figures on RECORDING (or a part: --from S --to S,
# --from-ms TICK --to-ms TICK) as M_<key> variables, e.g. M_voiced_s, M_rms, M_f0_hz,
# M_first_voiced_ms; MEASURED holds them all on one line for messages.
measure() {
  local out key value
  out=$("$PROBE" analyse "$RECORDING" "$RATE" "$@") || fail "the probe could not measure $RECORDING"
  MEASURED=$(tr '\n' ' ' <<<"$out")
  while IFS='=' read -r key value; do printf -v "M_$key" '%s' "$value"; done <<<"$out"
}

# sound_state [FROM-S]: "QUIET-S HEARD-S" of the recording, from FROM-S on.
sound_state() { "$PROBE" quiet "$RECORDING" "$RATE" --from "${1:-0}" | awk -F= '{ v[$1] = $2 } END { print v["quiet_s"], v["heard_s"] }'; }

sound_heard_since() {  # FROM-S [SECONDS]: more than that much sound (default 0.1 s) since FROM-S
  local quiet heard
  read -r quiet heard <<<"$(sound_state "$1")"
  awk -v h="$heard" -v m="${2:-0.1}" 'BEGIN { exit !(h > m) }'
}

sound_quiet_for() {  # MS [FROM-S]: the recording's end has been silent that long, and something sounded
  local quiet heard
  read -r quiet heard <<<"$(sound_state "${2:-0}")"
  awk -v q="$quiet" -v h="$heard" -v ms="$1" 'BEGIN { exit !(h > 0 && q * 1000 >= ms) }'
}

# wait_heard SECONDS FROM-S WHAT: until sound is heard after FROM-S.
wait_heard() { wait_for "$1" "$3 to be heard" sound_heard_since "$2"; }

# wait_silent MS SECONDS FROM-S WHAT: until sound was heard after FROM-S and then stayed silent MS ms.
wait_silent() { wait_for "$2" "$4 to end (silence of $1 ms)" sound_quiet_for "$1" "$3"; }

# ratio A B: A / B with three decimals; in_range X LOW HIGH: LOW <= X <= HIGH.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) print "inf"; else printf "%.3f\n", a / b }'; }
in_range() { awk -v x="$1" -v l="$2" -v h="$3" 'BEGIN { exit !(x != "inf" && x + 0 >= l + 0 && x + 0 <= h + 0) }'; }

set_string() { timeout 60 wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null; }
