#!/usr/bin/env bash
# A reading from the hot key to the speech engine: text selected in another program (Wine's
# notepad) is taken through the clipboard, prepared for the language and spoken.
source "$(dirname "$0")/lib.sh"
CTRL=0xA2 SHIFT=0xA0

speak_lines() { grep ' Speak ' "$JOURNAL" || true; }
speak_count() { speak_lines | wc -l; }
has_speak_count() { [ "$(speak_count)" -ge "$1" ]; }
clipboard_is() { [ "$(driver clipboard)" = "$1" ]; }

open_notepad

# read_selection LANGUAGE-SETUP TEXT EXPECTED-HEX EXPECTED-ARGS: one reading with the selection hot key.
read_and_expect() {
  local text=$1 expected=$2 args=$3 keys=${4:-$CTRL+0x50}
  driver edit-set "$NOTEPAD" "$text"
  driver edit-select "$NOTEPAD" 0 -1
  local before
  before=$(speak_count)
  driver key "$NOTEPAD" "$keys" >/dev/null
  wait_for 30 "a Speak line for '$text'" has_speak_count $((before + 1))
  local line
  line=$(speak_lines | sed -n "$((before + 1))p")
  read -r _ _ language pitch speed volume pause comma extra data <<<"$line"
  [ "$language $pitch $speed $volume $pause $comma $extra" = "$args" ] ||
    fail "Speak arguments '$language $pitch $speed $volume $pause $comma $extra', expected '$args'"
  [ "$data" = "$expected" ] || fail "Speak text $data, expected $expected (from '$text')"
  wait_for 10 "the clipboard to be emptied" bash -c '[ "$(cd "$0" && timeout 60 wine ./ostrel_driver.exe clipboard | tr -d "\r")" = empty ]' "$BIN"
}

with_toolbar() {  # starts the toolbar with the registry as set up, readings fast
  new_journal
  export ORVATONE_SPEAK_MS=${SPEAK_MS:-400}
  start_program
  driver wait-window "$TITLE" 60 >/dev/null || fail "the toolbar did not open"
}

echo "-- Japanese, English and Korean through their code pages"
reset_registry
set_dword "$KEY\\Korean" ParenthesisCharNumber 4
with_toolbar
read_and_expect "これは、日本語のテストです。" "$(hex "これは、日本語のテストです。" CP932)" "1 100 100 100 800 300 0"
close_with_escape
set_dword "$KEY" language 2
# A word found nowhere else: the log may say that a text was read, never what it said.
SECRET="Quillorbast$RANDOM$RANDOM"
TEXT="Café au lait, s'il vous plaît, $SECRET."
LOGS=$(log_folder)
LOG="$LOGS/Ostrel4.log"
rm -f "$LOG" "$LOGS/Ostrel4.old.log"
with_toolbar
read_and_expect "$TEXT" "$(hex "$TEXT" CP1252)" "3 100 100 100 800 300 0"
close_with_escape

echo "-- the log tells how the program started and ended, and nothing of the text it read"
[ -s "$LOG" ] || fail "no log at $LOG"
record() { grep -Eq "^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9:.]{12} [0-9]+/[0-9]+ $1" "$LOG"; }
record "INFO Ostrel4: start: version [0-9.]+; Windows [0-9.]+.*; [0-9]+ dpi" || fail "no start-up record: $(head -3 "$LOG")"
record "INFO Ostrel4: languages Japanese, Chinese, English, Korean; current English" ||
  fail "no record of the languages: $(grep languages "$LOG")"
record "INFO Orvatone: engine [0-9.]+ loaded" || fail "the engine wrote nothing into the program's log"
record "INFO Ostrel4: end" || fail "no record of the end: $(tail -3 "$LOG")"
secret_hex=$(printf '%s' "$SECRET" | od -An -tx1 | tr -d ' \n')
for form in "$SECRET" "$secret_hex" "${secret_hex^^}"; do
  grep -aqiF "$form" "$LOGS"/*.log && fail "the log holds the text read ($form)"
done
echo "   $(wc -l <"$LOG") records, $(stat -c %s "$LOG") bytes; the text read is not among them"
set_dword "$KEY" language 3
set_dword "$KEY\\Korean" speed 150
with_toolbar
read_and_expect "안녕하세요 (인사말입니다)" "$(hex "안녕하세요 (인사말입니다)" CP949)" "4 100 150 100 800 300 4"
close_with_escape

echo "-- Chinese as GB, as traditional characters and in the XR code"
set_dword "$KEY" language 1
set_dword "$KEY\\Chinese" codepage 0
with_toolbar
read_and_expect "这是中文语音合成的测试。" "$(hex "这是中文语音合成的测试。" GBK)" "2 100 100 100 800 300 0"
close_with_escape
set_dword "$KEY\\Chinese" codepage 1
with_toolbar
read_and_expect "這是中文語音合成的測試。" "$(hex "这是中文语音合成的测试。" GBK)" "2 100 100 100 800 300 0"
close_with_escape
set_dword "$KEY\\Chinese" codepage 2
with_toolbar
# XR carries GB2312 in code page 932's byte form: 92E1 is 你 (C4E3), A6 a pinyin Ā (A8A1).
xr=$(printf 'A\x92\xe1\xa6' | iconv -f CP932 -t UTF-8)
read_and_expect "$xr" "41C4E3A8A1" "2 100 100 100 800 300 0"
close_with_escape

echo "-- whole text, repeat, and the stop hot key"
reset_registry
set_dword "$KEY" Repeat 1
SPEAK_MS=600 with_toolbar
driver edit-set "$NOTEPAD" "全文を読み上げます。"
driver edit-select "$NOTEPAD" 0 0
driver key "$NOTEPAD" "$CTRL+$SHIFT+0x50" >/dev/null
wait_for 30 "the whole text to be spoken" has_speak_count 1
[ "$(speak_lines | awk '{print $NF}')" = "$(hex "全文を読み上げます。" CP932)" ] || fail "whole text: $(speak_lines)"
wait_for 30 "the repeat" has_speak_count 3
[ "$(speak_lines | awk '{print $NF}' | sort -u | wc -l)" = 1 ] || fail "repeat spoke another text"
grep -q ' Done 1$' "$JOURNAL" || fail "no Done before the repeat"
driver key "$NOTEPAD" "$CTRL+$SHIFT+0x53" >/dev/null
wait_for 10 "the stop" grep -q ' Stop 1$' "$JOURNAL"
sleep 2
count=$(speak_count)
sleep 2
[ "$(speak_count)" = "$count" ] || fail "speech went on after the stop hot key"
close_with_escape

echo "-- a stop ends a capture that got no copy: what is copied afterwards stays and is not read"
reset_registry
with_toolbar
driver edit-set "$NOTEPAD" "後でコピーする文。"
driver edit-select "$NOTEPAD" 0 0  # nothing selected: notepad copies nothing
driver key "$NOTEPAD" "$CTRL+0x50" >/dev/null
sleep 3  # the capture's keys have gone out
driver key "$NOTEPAD" "$CTRL+$SHIFT+0x53" >/dev/null
sleep 1
driver edit-select "$NOTEPAD" 0 -1
driver key "$NOTEPAD" "$CTRL+0x43" >/dev/null  # the user copies
wait_for 10 "the user's copy on the clipboard" clipboard_is "text 9"
sleep 2  # a tick or two
[ "$(speak_count)" = 0 ] || fail "the copy made after the stop was read: $(speak_lines)"
[ "$(driver clipboard)" = "text 9" ] || fail "the copy made after the stop was taken: $(driver clipboard)"
close_with_escape

echo "-- a text of 1 MiB is read without harm"
reset_registry
SPEAK_MS=300 with_toolbar
# 524287 characters and the terminator: 1 MiB, the most that Wine's clipboard carries.
driver edit-fill "$NOTEPAD" 524287
driver edit-select "$NOTEPAD" 0 -1
driver key "$NOTEPAD" "$CTRL+0x50" >/dev/null
wait_for 60 "the long text to be spoken" has_speak_count 1
bytes=$(( $(speak_lines | awk '{print length($NF)}') / 2 ))
[ "$bytes" -gt 524287 ] || fail "the long text arrived with $bytes bytes"
driver alive "$TITLE" || fail "the toolbar is gone after a long text"
close_with_escape
reset_registry
echo "PASS"
