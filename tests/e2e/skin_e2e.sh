#!/usr/bin/env bash
# Skin files: one beside the program replaces the built-in skin, a command-line skin comes
# first, upper-case extensions are not skins, and bad or odd-sized files are told about.
source "$(dirname "$0")/lib.sh"
reset_registry
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
INSTALL="$WORK/install"
mkdir -p "$INSTALL"
cp "$BIN"/Ostrel4.exe "$BIN"/Orvatone.dll "$BIN"/Hanvert.dll "$BIN"/ostrel_driver.exe "$INSTALL"/
BIN=$INSTALL  # the program and the driver run from the copy
convert "$SOURCE/resources/images/skin.png" -fill '#ff0000' -colorize 100 "$WORK/red.png"
convert "$SOURCE/resources/images/skin.png" -fill '#0000ff' -colorize 100 "$WORK/blue.png"

# The logo tile at (28, 22) of the bar is opaque in the built-in skin.
logo_colour() {
  screenshot "$WORK/shot.png"
  pixel "$WORK/shot.png" 28 22
}
expect_logo() {
  local deadline=$((SECONDS + 30)) colour
  until colour=$(logo_colour) && [ "$colour" = "$1" ]; do
    if [ $SECONDS -ge $deadline ]; then
      cp "$WORK/shot.png" "$ARTIFACTS/skin-failure.png"
      fail "logo colour $colour, expected $1 ($2); screen in $ARTIFACTS/skin-failure.png"
    fi
    sleep 0.3
  done
}
dismiss_box() {  # a box captioned with the program's name, answered with Enter
  driver wait-window "Ostrel4" 30 >/dev/null || fail "no message box: $1"
  driver key "Ostrel4" 0x0D >/dev/null
}
builtin_logo() { local c; c=$(logo_colour); [ "$c" != "255,0,0" ] && [ "$c" != "0,0,0" ]; }

echo "-- a PNG beside the program replaces the built-in skin"
cp "$WORK/red.png" "$INSTALL/Ostrel4.png"
start_program
driver wait-window "$TITLE" 60 >/dev/null || fail "no toolbar"
expect_logo "255,0,0" "Ostrel4.png beside the program"
screenshot "$ARTIFACTS/skin-beside.png"
close_with_escape

echo "-- a command-line PNG comes first; an upper-case one is not a skin"
start_program "$(winepath -w "$WORK/blue.png")"
driver wait-window "$TITLE" 60 >/dev/null || fail "no toolbar"
expect_logo "0,0,255" "blue.png on the command line"
close_with_escape
cp "$WORK/blue.png" "$WORK/BLUE.PNG"
start_program "$(winepath -w "$WORK/BLUE.PNG")"
driver wait-window "$TITLE" 60 >/dev/null || fail "no toolbar"
expect_logo "255,0,0" "BLUE.PNG ignored, the skin beside the program used"
close_with_escape

echo "-- a skin of another size is used after the warning"
convert "$WORK/red.png" -crop 430x400+0+0 +repage "$INSTALL/Ostrel4.png"
start_program
dismiss_box "the size warning"
driver wait-window "$TITLE" 60 >/dev/null || fail "no toolbar after the size warning"
expect_logo "255,0,0" "the odd-sized skin"
close_with_escape

echo "-- a file that is no image leaves the built-in skin, and says so"
echo "not an image" >"$INSTALL/Ostrel4.png"
start_program
dismiss_box "the unreadable skin"
driver wait-window "$TITLE" 60 >/dev/null || fail "no toolbar after a bad skin"
wait_for 30 "the built-in skin (logo neither red nor missing)" builtin_logo
close_with_escape
rm -f "$INSTALL/Ostrel4.png"
reset_registry
echo "PASS"
