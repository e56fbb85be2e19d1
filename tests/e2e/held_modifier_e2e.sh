#!/usr/bin/env bash
# A hot key whose Shift the user goes on holding: the copy keys must still reach the
# application as Ctrl+C (not Ctrl+Shift+C), so the selection is copied and read, and the
# Shift the capture released is not pressed again. Run with the long waits and the quick ones.
source "$(dirname "$0")/lib.sh"
CTRL=0xA2 SHIFT=0xA0 VK_SHIFT=0x10

speak_lines() { grep ' Speak ' "$JOURNAL" || true; }
has_speak() { [ -n "$(speak_lines)" ]; }

open_notepad

for quick in 0 1; do
  echo "-- Shift held through the capture (quick capture $quick)"
  reset_registry
  # Ctrl+Shift+P reads the selection here; the whole-text hot key moves out of its way.
  set_dword "$KEY" HotKeySelRead $((0x0350))
  set_dword "$KEY" HotKeyAllRead $((0x0351))
  set_dword "$KEY" QuickCapture "$quick"
  new_journal
  export ORVATONE_SPEAK_MS=400
  start_program
  driver wait-window "$TITLE" 60 >/dev/null || fail "the toolbar did not open"

  text="シフトを押したまま読み上げます。"
  driver edit-set "$NOTEPAD" "$text"
  driver edit-select "$NOTEPAD" 0 -1
  driver hold "$NOTEPAD" "$SHIFT" >/dev/null
  [ "$(driver key-state $VK_SHIFT)" = down ] || fail "Shift did not go down"
  held_from=$SECONDS
  # Ctrl and P pressed and let go while Shift stays down: the hot key Ctrl+Shift+P.
  driver key - "$CTRL+0x50" >/dev/null
  wait_for 30 "the selection to be spoken" has_speak
  while [ $((SECONDS - held_from)) -lt 2 ]; do sleep 0.2; done
  state=$(driver key-state $VK_SHIFT)
  driver release - "$SHIFT" >/dev/null
  [ "$(speak_lines | wc -l)" = 1 ] || fail "spoken: $(speak_lines)"
  [ "$(speak_lines | awk '{print $NF}')" = "$(hex "$text" CP932)" ] || fail "spoken another text: $(speak_lines)"
  [ "$state" = up ] || fail "Shift is still down after the capture: released too late or pressed again"
  close_with_escape
done
reset_registry
echo "PASS"
