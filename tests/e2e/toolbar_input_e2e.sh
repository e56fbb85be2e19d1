#!/usr/bin/env bash
# The toolbar under a real pointer: hover highlight, a click that reads notepad's selection,
# the right-button menu that stops the reading, and minimising to the notification area
# and back by a click on its icon.
source "$(dirname "$0")/lib.sh"
LEFT=400 TOP=300

# point_at X Y: the pointer to a point of the toolbar, in window coordinates.
point_at() { xdotool mousemove --sync $((left + $1)) $((top + $2)); }
# toolbar_crop FILE X Y W H OUT: one rectangle of the toolbar, in window coordinates, from a screenshot.
toolbar_crop() { convert "$1" -crop "$4x$5+$((left + $2))+$((top + $3))" +repage "$6"; }
menu_shown() { driver menu >/dev/null; }
menu_gone() { ! driver menu >/dev/null; }
toolbar_hidden() { ! toolbar_drawn $((left + 28)) $((top + 22)); }

reset_registry
set_dword "$KEY" x $LEFT
set_dword "$KEY" y $TOP

echo "-- notepad with a selected text, away from the toolbar"
TEXT="マウスで読み上げます。"
open_notepad 20 420 "$TEXT"

new_journal
export ORVATONE_SPEAK_MS=60000  # still speaking when the menu opens
start_program
wait_toolbar_shown "the start"
read -r left top _ <<<"$(driver info "$TITLE")"
[ "$left,$top" = "$LEFT,$TOP" ] || fail "the toolbar opened at $left,$top"
wait_for 30 "the toolbar to be drawn" toolbar_drawn $((left + 28)) $((top + 22))

echo "-- hover highlights the repeat button"
xdotool mousemove --sync 10 700
sleep 1
screenshot "$WORK/plain.png"
point_at 199 31
sleep 1
screenshot "$ARTIFACTS/toolbar-hover-desktop.png"
toolbar_crop "$ARTIFACTS/toolbar-hover-desktop.png" 0 0 327 60 "$ARTIFACTS/toolbar-hover.png"
toolbar_crop "$WORK/plain.png" 185 18 25 26 "$WORK/repeat-plain.png"
toolbar_crop "$ARTIFACTS/toolbar-hover-desktop.png" 185 18 25 26 "$WORK/repeat-hover.png"
changed=$(compare -metric AE "$WORK/repeat-plain.png" "$WORK/repeat-hover.png" null: 2>&1 || true)
[ "${changed%% *}" -gt 0 ] 2>/dev/null || fail "no highlight on the repeat button ($changed pixels changed)"
echo "   screenshot: $ARTIFACTS/toolbar-hover.png ($changed pixels of the button changed)"
toolbar_crop "$WORK/plain.png" 57 10 40 40 "$WORK/read-plain.png"
toolbar_crop "$ARTIFACTS/toolbar-hover-desktop.png" 57 10 40 40 "$WORK/read-hover.png"
untouched=$(compare -metric AE "$WORK/read-plain.png" "$WORK/read-hover.png" null: 2>&1 || true)
[ "${untouched%% *}" = 0 ] || fail "the read button changed too ($untouched pixels)"

echo "-- a click on the selection-read button reads notepad's selection"
driver activate "$NOTEPAD" || fail "notepad did not come to the foreground"
point_at 79 31
xdotool click 1
wait_for 30 "a Speak line" grep -q ' Speak ' "$JOURNAL"
spoken=$(grep ' Speak ' "$JOURNAL" | head -1 | awk '{print $NF}')
[ "$spoken" = "$(hex "$TEXT" CP932)" ] || fail "spoke $spoken"
grep -q ' Stop ' "$JOURNAL" && fail "stopped before the right click: $(cat "$JOURNAL")"

echo "-- the right button stops the reading and opens the menu"
point_at 20 30
xdotool click 3
wait_for 10 "the pop-up menu" menu_shown
wait_for 10 "the stop" grep -q ' Stop 1$' "$JOURNAL"
screenshot "$ARTIFACTS/toolbar-menu.png"
echo "   screenshot: $ARTIFACTS/toolbar-menu.png (menu at $(driver menu))"
driver key - 0x1B >/dev/null
wait_for 10 "the menu to close" menu_gone

echo "-- minimise hides the toolbar, the tray icon brings it back"
point_at 303 39
xdotool click 1
wait_for 10 "the toolbar to fade out" toolbar_hidden
screenshot "$ARTIFACTS/toolbar-minimised.png"
read -r _ _ _ _ _ visible <<<"$(driver info "$TITLE")"
[ "$visible" = 1 ] || fail "the minimised toolbar is no longer a shown window"
read -r tl tt _ th _ <<<"$(driver tray)" || fail "no notification area"
# Wine's tray strip is wider than its icons; ours is the first, a square at its left end.
xdotool mousemove --sync $((tl + th / 2)) $((tt + th / 2)) click 1
wait_for 10 "the toolbar to come back" toolbar_drawn $((left + 28)) $((top + 22))
menu_gone || fail "the icon click opened the menu instead"
read -r nl nt _ <<<"$(driver info "$TITLE")"
[ "$nl,$nt" = "$left,$top" ] || fail "the toolbar came back at $nl,$nt"
screenshot "$ARTIFACTS/toolbar-restored.png"
echo "   screenshots: $ARTIFACTS/toolbar-minimised.png, $ARTIFACTS/toolbar-restored.png"

close_with_escape
reset_registry
echo "PASS"
