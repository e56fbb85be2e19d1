#!/usr/bin/env bash
# The settings dialog as a user meets it: the gear button opens it, every page is shown and
# photographed, a new speed and a new selection hot key are set and confirmed with OK, and
# the next reading uses both while the old hot key goes back to the application.
source "$(dirname "$0")/lib.sh"
DIALOG="環境設定"
LEFT=20 TOP=40
CTRL=0xA2 SHIFT=0xA0

speak_count() { grep -c ' Speak ' "$JOURNAL" || true; }
has_speak_count() { [ "$(speak_count)" -ge "$1" ]; }
page_shows() { driver page-shows "$DIALOG" "$1" >/dev/null; }
# click_tab INDEX: a click on one tab of the dialog.
click_tab() {
  local l t w h
  read -r l t w h <<<"$(driver tab-rect "$DIALOG" "$1")" || fail "no tab $1"
  xdotool mousemove --sync $((l + w / 2)) $((t + h / 2)) click 1
}
# click_control KIND ID: a click at the middle of a control of the frame (control) or of the page shown (page-control).
click_control() {
  local l t w h
  read -r l t w h _ <<<"$(driver "$1" "$DIALOG" "$2")" || fail "no control $2 on the dialog"
  xdotool mousemove --sync $((l + w / 2)) $((t + h / 2)) click 1
}

reset_registry
set_dword "$KEY" x $LEFT
set_dword "$KEY" y $TOP

TEXT="設定を変えて読み上げます。"
open_notepad 600 420 "$TEXT"

new_journal
export ORVATONE_SPEAK_MS=400
start_program
driver wait-window "$TITLE" 60 >/dev/null || fail "the toolbar did not open"
wait_for 30 "the toolbar to be drawn" toolbar_drawn $((LEFT + 28)) $((TOP + 22))

echo "-- the gear button opens the dialog"
xdotool mousemove --sync $((LEFT + 276)) $((TOP + 31)) click 1
driver wait-window "$DIALOG" 30 >/dev/null || fail "the settings dialog did not open"
wait_for 10 "the Japanese page" page_shows "これは、日本語音声合成のテストです。"

read -r ok_left ok_top _ <<<"$(driver control "$DIALOG" 1)"
read -r tab_left tab_top tab_width tab_height _ <<<"$(driver control "$DIALOG" 1002)"
[ $((tab_top + tab_height)) -le "$ok_top" ] || fail "the tab control runs into the OK button"

echo "-- every page, in tab order"
# name, a text only that page shows, the id of its lowest control (0: none to check)
pages=(
  "japanese|これは、日本語音声合成のテストです。|1023"
  "chinese|文字コード|1086"
  "english|A test of English, speech synthesis.|1044"
  "korean|括弧に囲まれた文字列の読み方|1065"
  "other|ホットキー|1087"
  "about|Version 2.0.1|0"
)
for i in "${!pages[@]}"; do
  IFS='|' read -r name text lowest <<<"${pages[$i]}"
  click_tab "$i"
  wait_for 10 "the $name page" page_shows "$text"
  if [ "$lowest" != 0 ]; then
    read -r cl ct cw ch visible <<<"$(driver page-control "$DIALOG" "$lowest")"
    [ "$visible" = 1 ] || fail "control $lowest of the $name page is hidden"
    [ $((ct + ch)) -le $((tab_top + tab_height)) ] && [ $((cl + cw)) -le $((tab_left + tab_width)) ] ||
      fail "control $lowest of the $name page ($cl,$ct ${cw}x$ch) reaches out of the tab control"
  fi
  sleep 0.5  # the page paints after it is shown
  # The client area: without a window manager on the virtual display nobody draws the caption.
  read -r dl dt dw dh <<<"$(driver client "$DIALOG")"
  screenshot "$WORK/screen.png"
  convert "$WORK/screen.png" -crop "${dw}x${dh}+${dl}+${dt}" +repage "$ARTIFACTS/settings-$name.png"
  echo "   screenshot: $ARTIFACTS/settings-$name.png"
done

echo "-- a new selection hot key on the other settings page"
click_tab 4
wait_for 10 "the other settings page" page_shows "ホットキー"
click_control page-control 1001
driver key - $CTRL+$SHIFT+0x52 >/dev/null  # Ctrl+Shift+R

echo "-- a new Japanese speed typed into its box"
click_tab 0
wait_for 10 "the Japanese page" page_shows "これは、日本語音声合成のテストです。"
click_control page-control 1014
# Every keystroke is checked against the range, so 100 becomes 180 by overtyping its middle digit.
driver key - 0x24 >/dev/null          # Home
driver key - 0x27 >/dev/null          # Right
driver key - $SHIFT+0x27 >/dev/null   # Shift+Right
driver key - 0x38 >/dev/null          # 8

click_control control 1
driver wait-gone "$DIALOG" 30 || fail "OK did not close the dialog"
expect_value "$KEY\\Japanese" speed 0xb4
expect_value "$KEY" HotKeySelRead 0x352

echo "-- the new hot key reads at the new speed"
driver activate "$NOTEPAD" || fail "notepad did not come to the foreground"
driver key - $CTRL+$SHIFT+0x52 >/dev/null
wait_for 30 "a Speak line" has_speak_count 1
read -r _ _ language pitch speed _ _ _ _ data <<<"$(grep ' Speak ' "$JOURNAL" | head -1)"
[ "$language $pitch $speed" = "1 100 180" ] || fail "spoke with language, pitch, speed $language $pitch $speed"
[ "$data" = "$(hex "$TEXT" CP932)" ] || fail "spoke $data"

echo "-- the old hot key is free again and reaches the window in front"
driver hotkey-free 2 0x50 || fail "Ctrl+P is still held"
# A registered hot key would never reach the window in front; this one reaches the driver's own.
driver key-probe $CTRL+0x50 || fail "Ctrl+P did not reach the window in front"
[ "$(speak_count)" = 1 ] || fail "Ctrl+P still started a reading: $(cat "$JOURNAL")"

close_with_escape
reset_registry
echo "PASS"
