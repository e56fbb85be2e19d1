# Sourced by the speech measurements: a Wine session of their own with the null sink recorded
# into $recording (at $rate, by $probe), both ended when the script exits.
session=$(mktemp -d)
recorder=""
trap '[ -z "$recorder" ] || kill "$recorder" 2>/dev/null; bash scripts/wine-session.sh stop "$session"; rm -rf "$session"' EXIT
bash scripts/wine-session.sh start "$session" >/dev/null
# shellcheck disable=SC1091
source "$session/env"
unset ORVATONE_SPEAK_MS
journal=$session/journal.txt
ORVATONE_JOURNAL=$(winepath -w "$journal")
export ORVATONE_JOURNAL

recording=$session/speech.raw
"$probe" record "$recording" "$rate" "$OSTREL_SINK.monitor" &
recorder=$!
for _ in $(seq 200); do [ -s "$recording.clock" ] && break; sleep 0.05; done
