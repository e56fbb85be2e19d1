# Shared by the end-to-end scripts: the run's Wine session, registry and journal helpers.
# shellcheck shell=bash disable=SC1091
set -euo pipefail
source "${OSTREL_WINE_SESSION:?}/env"
BIN=${OSTREL_BIN:?}
ARTIFACTS=${OSTREL_ARTIFACTS:?}
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

fail() {
  echo "FAIL: $*" >&2
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
