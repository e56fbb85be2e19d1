#!/usr/bin/env bash
# A day of use in little: readings by hot key, the settings dialog opened and closed with OK and
# with Cancel, minimise and restore, wheel steps. The toolbar's GDI objects, USER objects and
# kernel handles are counted after one warm-up round and at the end; they must not grow beyond
# a small bound. scripts/soak.sh runs it at full length in a session of its own.
source "$(dirname "$0")/lib.sh"
READINGS=${SOAK_READINGS:-10}
DIALOGS=${SOAK_DIALOGS:-4}     # half with OK, half with Cancel
CYCLES=${SOAK_CYCLES:-4}       # minimise and restore
WHEEL=${SOAK_WHEEL:-20}
BOUND_GDI=${SOAK_BOUND_GDI:-4} BOUND_USER=${SOAK_BOUND_USER:-2} BOUND_HANDLES=${SOAK_BOUND_HANDLES:-8}
DIALOG="環境設定"
CTRL=0xA2
LEFT=20 TOP=40
export ORVATONE_SPEAK_MS=50

done_count() { grep -c ' Done ' "$JOURNAL" || true; }
has_done() { [ "$(done_count)" -ge "$1" ]; }
# move_pointer X Y: --sync waits for a motion event, and a pointer already in place sends none.
move_pointer() {
  [ "$(xdotool getmouselocation --shell | head -2 | tr '\n' ' ')" = "X=$1 Y=$2 " ] || xdotool mousemove --sync "$1" "$2"
}
click_toolbar() { move_pointer $((LEFT + $1)) $((TOP + $2)); xdotool click "${3:-1}"; }
toolbar_hidden() { ! toolbar_drawn $((LEFT + 28)) $((TOP + 22)); }

# counts LABEL: one line of figures; COUNTS holds "gdi user handles" for the bound.
unix_pid() {
  local pid
  for pid in $(pgrep -x 'Ostrel4.exe'); do
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && { echo "$pid"; return; }
  done
}
counts() {
  local gdi user handles private rss
  read -r gdi user handles private <<<"$(driver resources "$TITLE")" || fail "no counts from the toolbar"
  rss=$(awk '/^RssAnon:/ { print $2 }' "/proc/$(unix_pid)/status" 2>/dev/null || echo "?")
  printf '%-28s GDI %4s  USER %3s  handles %4s  private bytes %s  anonymous RSS %s KiB  (%d s)\n' \
    "$1" "$gdi" "$user" "$handles" "$private" "$rss" "$SECONDS"
  COUNTS="$gdi $user $handles"
}

read_once() {
  local before
  before=$(done_count)
  driver key "$NOTEPAD" "$CTRL+0x50" >/dev/null
  wait_for 30 "reading $((before + 1)) to be done" has_done $((before + 1))
}
dialog_once() {  # OK (1) or Cancel (2)
  click_toolbar 276 31
  driver wait-window "$DIALOG" 30 >/dev/null || fail "the settings dialog did not open"
  driver post "$DIALOG" 0x0111 "$1" 0 >/dev/null
  driver wait-gone "$DIALOG" 30 || fail "the settings dialog did not close"
}
minimise_and_restore() {
  click_toolbar 303 39
  wait_for 10 "the toolbar to be stored away" toolbar_hidden
  local tl tt th
  read -r tl tt _ th _ <<<"$(driver tray)" || fail "no notification area"
  move_pointer $((tl + th / 2)) $((tt + th / 2))
  xdotool click 1
  wait_for 10 "the toolbar to come back" toolbar_drawn $((LEFT + 28)) $((TOP + 22))
}
wheel_steps() {  # N: alternately up and down, so the transparency stays where it was
  local i
  move_pointer $((LEFT + 150)) $((TOP + 10))
  for ((i = 0; i < $1; ++i)); do xdotool click $((4 + i % 2)); done
}

reset_registry
set_dword "$KEY" x $LEFT
set_dword "$KEY" y $TOP
# The full soak outlasts the usual limits of notepad and the program.
NOTEPAD_SECONDS=7200 open_notepad 300 300 "A line to read, again and again."
new_journal
in_background bash -c 'cd "$0" && exec timeout 7200 wine ./Ostrel4.exe' "$BIN"
PROGRAM_PID=$LAST_PID
driver wait-window "$TITLE" 60 >/dev/null || fail "the toolbar did not open"
wait_for 30 "the toolbar to be drawn" toolbar_drawn $((LEFT + 28)) $((TOP + 22))
counts "opened"

echo "-- one warm-up round of everything"
driver activate "$NOTEPAD" >/dev/null
read_once
dialog_once 1
dialog_once 2
minimise_and_restore
wheel_steps 2
counts "after the warm-up"
read -r base_gdi base_user base_handles <<<"$COUNTS"

started=$SECONDS
echo "-- $READINGS readings"
driver activate "$NOTEPAD" >/dev/null
for ((i = 0; i < READINGS; ++i)); do read_once; done
counts "after $READINGS readings"
echo "-- $DIALOGS settings dialogs"
for ((i = 0; i < DIALOGS; ++i)); do dialog_once $((1 + i % 2)); done
counts "after $DIALOGS dialogs"
echo "-- $CYCLES minimise and restore cycles"
for ((i = 0; i < CYCLES; ++i)); do minimise_and_restore; done
counts "after $CYCLES cycles"
echo "-- $WHEEL wheel steps"
wheel_steps "$WHEEL"
counts "after $WHEEL wheel steps"
echo "   ($((SECONDS - started)) s)"

read -r gdi user handles <<<"$COUNTS"
[ $((gdi - base_gdi)) -le "$BOUND_GDI" ] || fail "GDI objects grew from $base_gdi to $gdi"
[ $((user - base_user)) -le "$BOUND_USER" ] || fail "USER objects grew from $base_user to $user"
[ $((handles - base_handles)) -le "$BOUND_HANDLES" ] || fail "kernel handles grew from $base_handles to $handles"
close_with_escape
echo "PASS"
