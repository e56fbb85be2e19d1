#!/usr/bin/env bash
# The toolbar's life: a single instance, a topmost layered bar with its tray icon, closed
# by Escape with its settings and position saved, back where it was left at the next start.
source "$(dirname "$0")/lib.sh"
reset_registry

echo "-- a desktop with a window on it"
open_notepad -12 -36  # its white page behind the toolbar

echo "-- the toolbar opens"
new_journal
start_program
wait_toolbar_shown "the first start"
read -r left top width height exstyle visible <<<"$(driver info "$TITLE")"
[ "$width x $height" = "327 x 60" ] || fail "toolbar size $width x $height"
[ $((exstyle & 0x80000)) -ne 0 ] || fail "not layered: $exstyle"
[ $((exstyle & 0x8)) -ne 0 ] || fail "not topmost: $exstyle"
[ "$visible" = 1 ] || fail "not visible"
# The logo's tile, drawn from the skin, at (28, 22) of the bar.
wait_for 30 "the toolbar to be drawn" toolbar_drawn $((left + 28)) $((top + 22))
screenshot "$ARTIFACTS/toolbar-desktop.png"
convert "$ARTIFACTS/toolbar-desktop.png" -crop 360x100+0+0 +repage "$ARTIFACTS/toolbar.png"
echo "   screenshot: $ARTIFACTS/toolbar.png"
read -r _ _ _ _ tray_visible <<<"$(driver tray)" || fail "no notification area"
[ "$tray_visible" = 1 ] || fail "the notification area shows no icon"

echo "-- a second start ends at once and changes nothing"
before=$(wc -l <"$JOURNAL")
started=$SECONDS
run_program || fail "the second instance exited with status $?"
[ $((SECONDS - started)) -lt 20 ] || fail "the second instance took $((SECONDS - started)) s"
[ "$(wc -l <"$JOURNAL")" = "$before" ] || fail "the second instance used the engine: $(tail -3 "$JOURNAL")"
[ "$(driver count "$TITLE")" = 1 ] || fail "two toolbars"

echo "-- Escape closes it; settings, position and engine are wound up"
close_with_escape
for l in 1 2 3 4; do
  grep -q " CloseLanguage $l$" "$JOURNAL" || fail "CloseLanguage $l missing"
done
expect_value "$KEY" x 0x0
expect_value "$KEY" y 0x0
expect_value "$KEY" Alpha 0xff
expect_value "$KEY\\Korean" ParenthesisCharNumber 0x0

echo "-- moved, closed and started again, it is exactly where it was left"
start_program
driver wait-window "$TITLE" 60 >/dev/null || fail "the toolbar did not open again"
driver move "$TITLE" 200 150
close_with_escape
expect_value "$KEY" x 0xc8
expect_value "$KEY" y 0x96
for round in 1 2; do
  start_program
  wait_toolbar_shown "round $round"
  read -r left top _ <<<"$(driver info "$TITLE")"
  [ "$left,$top" = "200,150" ] || fail "round $round: the toolbar opened at $left,$top"
  close_with_escape
  expect_value "$KEY" x 0xc8
  expect_value "$KEY" y 0x96
done
reset_registry
echo "PASS"
