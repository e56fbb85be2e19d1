#!/usr/bin/env bash
# A hot key whose Shift the user goes on holding: the copy keys must still reach the
# application as Ctrl+C (not Ctrl+Shift+C), so the selection is copied and read, and the
# Shift the capture released is not pressed again. Run with the long waits and the quick ones,
# with the speaking engine: the reading must be heard.
source "$(dirname "$0")/lib.sh"
unset ORVATONE_SPEAK_MS
CTRL=0xA2 SHIFT=0xA0 VK_SHIFT=0x10

speak_lines() { grep ' Speak ' "$JOURNAL" || true; }
has_speak() { [ -n "$(speak_lines)" ]; }

open_notepad
record_start held-modifier

for quick in 0 1; do
  echo "-- Shift held through the capture (quick capture $quick)"
  reset_registry
  # Ctrl+Shift+P reads the selection here; the whole-text hot key moves out of its way.
  set_dword "$KEY" HotKeySelRead $((0x0350))
  set_dword "$KEY" HotKeyAllRead $((0x0351))
  set_dword "$KEY" QuickCapture "$quick"
  new_journal
  start_program
  driver wait-window "$TITLE" 60 >/dev/null || fail "the toolbar did not open"

  text="シフトを押したまま読み上げます。"
  driver edit-set "$NOTEPAD" "$text"
  driver edit-select "$NOTEPAD" 0 -1
  driver hold "$NOTEPAD" "$SHIFT" >/dev/null
  [ "$(driver key-state $VK_SHIFT)" = down ] || fail "Shift did not go down"
  held_from=$SECONDS
  # Ctrl and P pressed and let go while Shift stays down: the hot key Ctrl+Shift+P.
  mark=$(record_mark)
  driver key - "$CTRL+0x50" >/dev/null
  wait_for 30 "the selection to be spoken" has_speak
  while [ $((SECONDS - held_from)) -lt 2 ]; do sleep 0.2; done
  state=$(driver key-state $VK_SHIFT)
  driver release - "$SHIFT" >/dev/null
  [ "$(speak_lines | wc -l)" = 1 ] || fail "spoken: $(speak_lines)"
  [ "$(speak_lines | awk '{print $NF}')" = "$(hex "$text" CP932)" ] || fail "spoken another text: $(speak_lines)"
  [ "$state" = up ] || fail "Shift is still down after the capture: released too late or pressed again"
  wait_heard 30 "$mark" "the selection"
  wait_for 60 "the end of the reading" grep -q ' Done ' "$JOURNAL"
  close_with_escape
done
record_stop
reset_registry
echo "PASS"
