#!/usr/bin/env bash
# The language chosen by the text's characters: with the option on, a Korean text copied from
# notepad is read in Korean while Japanese is current, and the toolbar's language button shows
# Korean afterwards, as it does when the toolbar opens with Korean current. With the option
# off the current language reads everything.
source "$(dirname "$0")/lib.sh"
CTRL=0xA2
LEFT=20 TOP=40
# The language button's place on the toolbar (its four faces share it).
BUTTON="27x26+$((LEFT + 228))+$((TOP + 18))"

speak_lines() { grep ' Speak ' "$JOURNAL" || true; }
speak_count() { speak_lines | wc -l; }
has_speak_count() { [ "$(speak_count)" -ge "$1" ]; }
has_done_count() { [ "$(grep -c ' Done ' "$JOURNAL")" -ge "$1" ]; }

# language_face FILE: the language button as the screen shows it now.
language_face() {
  screenshot "$WORK/face.png"
  convert "$WORK/face.png" -crop "$BUTTON" +repage "$1"
}
# differing FILE FILE: how many pixels differ.
differing() { compare -metric AE "$1" "$2" null: 2>&1 | awk '{ print int($1) }'; }

# with_toolbar [heard]: the toolbar with the silent engine, or with "heard" the speaking one.
with_toolbar() {
  new_journal
  if [ "${1:-}" = heard ]; then unset ORVATONE_SPEAK_MS; else export ORVATONE_SPEAK_MS=400; fi
  start_program
  driver wait-window "$TITLE" 60 >/dev/null || fail "the toolbar did not open"
  wait_for 30 "the toolbar to be drawn" toolbar_drawn $((LEFT + 28)) $((TOP + 22))
  sleep 1  # the fade-in ends
}

# read_text TEXT: selects TEXT in notepad, presses the selection hot key and prints the Speak
# line it brings, once the reading has ended (a hot key during a reading would pause it).
read_text() {
  driver edit-set "$NOTEPAD" "$1"
  driver edit-select "$NOTEPAD" 0 -1
  local before
  before=$(speak_count)
  driver key "$NOTEPAD" "$CTRL+0x50" >/dev/null
  wait_for 30 "a Speak line for '$1'" has_speak_count $((before + 1))
  wait_for 60 "the end of the reading of '$1'" has_done_count $((before + 1))
  speak_lines | sed -n "$((before + 1))p"
}

KOREAN="오늘은 날씨가 좋아서 공원에 갔습니다."
JAPANESE="これは日本語の文章です。"
open_notepad 600 420
xdotool mousemove --sync 1 1  # no hover face on the toolbar

echo "-- the faces of the language button for Korean and Japanese"
reset_registry
set_dword "$KEY" x $LEFT
set_dword "$KEY" y $TOP
set_dword "$KEY" language 3
with_toolbar
language_face "$WORK/korean.png"
close_with_escape
set_dword "$KEY" language 0
with_toolbar
language_face "$WORK/japanese.png"
[ "$(differing "$WORK/korean.png" "$WORK/japanese.png")" -gt 0 ] || fail "the Korean and Japanese faces look the same"

echo "-- option off: the Korean text is read in Japanese"
read -r _ _ language _ <<<"$(read_text "$KOREAN")"
[ "$language" = 1 ] || fail "with the option off the text was read in language $language"
close_with_escape
expect_value "$KEY" language 0x0

echo "-- option on: the Korean text is read in Korean and the button shows it"
set_dword "$KEY" LanguageByScript 1
record_start language-by-script
with_toolbar heard
MARK=$(record_mark)
read -r _ _ language _ _ _ _ _ extra data <<<"$(read_text "$KOREAN")"
[ "$language" = 4 ] || fail "the Korean text was read in language $language"
[ "$data" = "$(hex "$KOREAN" CP949)" ] || fail "the Korean text reached the engine as $data"
wait_heard 5 "$MARK" "the Korean reading"
record_stop
sleep 1  # the toolbar is redrawn
language_face "$ARTIFACTS/language-by-script-button.png"
[ "$(differing "$ARTIFACTS/language-by-script-button.png" "$WORK/korean.png")" = 0 ] ||
  fail "the language button does not show Korean (see $ARTIFACTS/language-by-script-button.png)"

echo "-- the next text chooses again: Japanese"
read -r _ _ language _ _ _ _ _ extra data <<<"$(read_text "$JAPANESE")"
[ "$language $extra" = "1 0" ] || fail "the Japanese text was read in language $language ($extra)"
[ "$data" = "$(hex "$JAPANESE" CP932)" ] || fail "the Japanese text reached the engine as $data"
sleep 1
language_face "$WORK/again.png"
[ "$(differing "$WORK/again.png" "$WORK/japanese.png")" = 0 ] || fail "the language button does not show Japanese again"

echo "-- the language read last is the current one, and is saved"
read -r _ _ language _ <<<"$(read_text "$KOREAN")"
[ "$language" = 4 ] || fail "the second Korean text was read in language $language"
close_with_escape
expect_value "$KEY" language 0x3
expect_value "$KEY" LanguageByScript 0x1

reset_registry
echo "PASS"
