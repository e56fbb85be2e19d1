#!/usr/bin/env bash
# The user-dictionary editor as a user meets it: the Japanese voice page's ユーザー辞書編集 button
# opens it on the page's dictionary, a word is added with the keyboard and saved, and after the
# toolbar starts again the engine says the new reading where the page's test sentence has the word.
source "$(dirname "$0")/lib.sh"
unset ORVATONE_SPEAK_MS  # a real voice, so that the journal shows each utterance
DIALOG="環境設定"
LEFT=20 TOP=40
CTRL=0xA2
SAMPLE="これは、日本語音声合成のテストです。"
WORD="音声合成" READING="おすとれる"
OLD_SAID="オンセイゴウセイ" NEW_SAID="オストレル"
EDITOR="user.csv - ユーザー辞書編集（日本語）"
# The editor is started by the program, not by this script: it must not outlive the script either.
trap 'driver end-process "$EDITOR" >/dev/null 2>&1 || true; cleanup' EXIT

page_shows() { driver page-shows "$DIALOG" "$1" >/dev/null; }
click_at_middle() {
  local l t w h
  read -r l t w h _ <<<"$1"
  xdotool mousemove --sync $((l + w / 2)) $((t + h / 2)) click 1
}
utf8_hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n' | tr 'a-f' 'A-F'; }
utterances() { awk '$2 == "Utter" && $3 == 1 { print $4 }' "$JOURNAL"; }
said() { utterances | grep -q "$(utf8_hex "$1")"; }

# open_settings: the toolbar's gear button, then the Japanese page.
open_settings() {
  xdotool mousemove --sync $((LEFT + 276)) $((TOP + 31)) click 1
  driver wait-window "$DIALOG" 30 >/dev/null || fail "the settings dialog did not open"
  wait_for 10 "the Japanese page" page_shows "$SAMPLE"
}
# test_sentence: the page's テスト button; waits until the engine has handed the sentence on.
test_sentence() {
  click_at_middle "$(driver page-control "$DIALOG" 1020)" || fail "no test button"
  wait_for 90 "the test sentence to reach the voice" said "テスト"
}
# add_word WRITTEN READING: Insert in the editor in front, the entry typed, Enter.
add_word() {
  driver key - 0x2D >/dev/null
  driver wait-window "単語の登録" 30 >/dev/null || fail "Insert did not open the entry dialog"
  driver item-set "単語の登録" 1221 "$1"
  driver item-set "単語の登録" 1222 "$2"
  driver key - 0x0D >/dev/null
  driver wait-gone "単語の登録" 30 || fail "Enter did not take the entry"
}
close_all() {
  driver post "$DIALOG" 0x0111 2 0 >/dev/null || fail "could not cancel the settings dialog"
  driver wait-gone "$DIALOG" 30 || fail "the settings dialog did not close"
  close_with_escape
}
start_toolbar() {
  new_journal
  start_program
  driver wait-window "$TITLE" 60 >/dev/null || fail "the toolbar did not open"
  wait_for 30 "the toolbar to be drawn" toolbar_drawn $((LEFT + 28)) $((TOP + 22))
}

reset_registry
set_dword "$KEY" x $LEFT
set_dword "$KEY" y $TOP
# The page's dictionary: a copy of the default one with a few words, so the build's file stays as built.
DICTIONARY="$WORK/user.csv"
cp "$BIN/VW/VT/Misaki/M16/data-common/userdict/userdict_jpn.csv" "$DICTIONARY"
printf '東京,とうきょう\r\n大阪,おおさか\r\n"1,000円",せんえん\r\nOstrel,おすとれる\r\n' >>"$DICTIONARY"
set_string "$KEY\\Japanese" UserDicPath "$(winepath -w "$DICTIONARY")"

echo "-- before: the test sentence as the engine says it"
start_toolbar
open_settings
page_shows "$(winepath -w "$DICTIONARY")" || fail "the page does not show its dictionary"
test_sentence
said "$OLD_SAID" || fail "the sentence was said as: $(utterances)"
! said "$NEW_SAID" || fail "the new reading was there before the word was added"

echo "-- the editor button opens the editor on the page's dictionary"
click_at_middle "$(driver page-control "$DIALOG" 1023)" || fail "no editor button"
driver wait-window "$EDITOR" 60 >/dev/null || fail "the editor did not open on $DICTIONARY"
driver activate "$EDITOR" || fail "the editor did not come to the foreground"

echo "-- Insert, the word, Enter, Ctrl+S"
add_word "$WORD" "$READING"
sleep 0.5  # the list paints after the entry dialog has gone
read -r el et ew eh <<<"$(driver client "$EDITOR")"
screenshot "$WORK/screen.png"
convert "$WORK/screen.png" -crop "${ew}x${eh}+${el}+${et}" +repage "$ARTIFACTS/dictionary-editor.png"
echo "   screenshot: $ARTIFACTS/dictionary-editor.png"
driver activate "$EDITOR" || fail "the editor did not come back to the foreground"
driver key - $CTRL+0x53 >/dev/null
wait_for 30 "the saved word in $DICTIONARY" grep -q "^$WORD,$READING" "$DICTIONARY"
grep -q '^"1,000円",せんえん' "$DICTIONARY" || fail "an entry already there changed: $(cat "$DICTIONARY")"
head -1 "$DICTIONARY" | grep -q "^$(printf '\xef\xbb\xbf')# " || fail "the first line (mark and comment) changed"
[ ! -e "$DICTIONARY.saving" ] || fail "the new file was left beside the dictionary"
driver post "$EDITOR" 0x0010 0 0 >/dev/null
driver wait-gone "$EDITOR" 30 || fail "the saved editor did not close"
close_all

echo "-- after the toolbar starts again the engine says the new reading"
start_toolbar
open_settings
test_sentence
said "$NEW_SAID" || fail "the sentence was said as: $(utterances)"
! said "$OLD_SAID" || fail "the old reading is still said: $(utterances)"

echo "-- a dictionary that cannot be written: saved in the user's folder, and in use from then on"
# As an installed program's dictionary in Program Files: the editor cannot replace the file.
chmod a-w "$DICTIONARY"
ROAMING=$(winepath -u "$(timeout 60 wine cmd /c echo %APPDATA% | tr -d '\r')")
MENDED="$ROAMING/Brantic/Ostrel4/user.csv"
rm -f "$MENDED"
trap 'chmod u+w "$DICTIONARY"; rm -f "$MENDED"; driver end-process "$EDITOR" >/dev/null 2>&1 || true; cleanup' EXIT
click_at_middle "$(driver page-control "$DIALOG" 1023)" || fail "no editor button"
driver wait-window "$EDITOR" 60 >/dev/null || fail "the editor did not open again"
driver activate "$EDITOR" || fail "the editor did not come to the foreground"
add_word "日本語" "やまとことば"
driver key "$EDITOR" $CTRL+0x53 >/dev/null
# The editor's boxes carry the product's name, as the toolbar does: a second window of that name.
boxes_open() { test "$(driver count "$TITLE")" = $((1 + $1)); }
wait_for 30 "an offer to save in the user's folder" boxes_open 1
driver key - 0x0D >/dev/null  # Yes
wait_for 30 "the word in $MENDED" grep -qs "^日本語,やまとことば" "$MENDED"
wait_for 30 "word of where it was saved" boxes_open 1
driver key - 0x0D >/dev/null  # OK
wait_for 30 "the message box to close" boxes_open 0
grep -q "^$WORD,$READING" "$MENDED" || fail "the words already there were not taken along"
STORED=$(reg_value "$KEY\\Japanese" UserDicPath) || fail "the editor stored no path"
[ "$(winepath -u "$STORED")" = "$MENDED" ] || fail "the editor stored '$STORED'"
driver post "$EDITOR" 0x0010 0 0 >/dev/null
driver wait-gone "$EDITOR" 30 || fail "the saved editor did not close"
driver activate "$DIALOG" || fail "the settings dialog did not come back"
wait_for 10 "the page to show the new dictionary" page_shows "$STORED"
# Nothing else to change: キャンセル. The toolbar saves its settings as it closes, and must not
# bring the old file back with them.
driver post "$DIALOG" 0x0111 2 0 >/dev/null || fail "could not cancel the settings dialog"
driver wait-gone "$DIALOG" 30 || fail "the settings dialog did not close"
close_with_escape
expect_value "$KEY\\Japanese" UserDicPath "$STORED"
start_toolbar
grep -q " SetUserDictionary 1 $(hex "$STORED" CP932) *$" "$JOURNAL" ||
  fail "the engine was given another dictionary: $(grep SetUserDictionary "$JOURNAL")"
open_settings
page_shows "$STORED" || fail "the page does not show the new dictionary"
test_sentence
said "ヤマトコトバ" || fail "the new word was not said: $(utterances)"
close_all
reset_registry
echo "PASS"
