#!/usr/bin/env bash
# Bad input to the real program: skin files that cannot be used (cut short, empty, a header
# claiming 30000 x 30000 pixels, too small to draw the toolbar) and registry values of the
# wrong type or out of range. Each time the program starts, says what its messages say, draws
# the toolbar with what it can use, closes without an error box, and writes sound values back
# only where it repaired something. A close that comes while the skin's message is open ends
# the program quietly once the message is answered, saving nothing.
source "$(dirname "$0")/lib.sh"
reset_registry
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
INSTALL="$WORK/install"
mkdir -p "$INSTALL"
cp "$BIN"/Ostrel4.exe "$BIN"/Orvatone.dll "$BIN"/Hanvert.dll "$BIN"/ostrel_driver.exe "$INSTALL"/
BIN=$INSTALL  # the program and the driver run from the copy
export ORVATONE_SPEAK_MS=200

# A red skin: if any of it were used, the logo would show red.
convert "$SOURCE/resources/images/skin.png" -fill '#ff0000' -colorize 100 "$WORK/red.png"
head -c "$(($(stat -c %s "$WORK/red.png") / 2))" "$WORK/red.png" >"$WORK/cut.png"
: >"$WORK/empty.png"
convert -size 1x1 xc:red "$WORK/dot.png"
python3 - "$WORK" <<'EOF'
import struct, sys
work = sys.argv[1]
def bmp(path, width, height, pixel_bytes):
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 32, 0, 0, 0, 0, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 54 + pixel_bytes, 0, 0, 54)
    with open(path, 'wb') as f:
        f.write(head + info + b'\xff' * pixel_bytes)
bmp(f'{work}/huge.bmp', 30000, 30000, 64)   # claims 3.6 GB of pixels
bmp(f'{work}/cut.bmp', 430, 435, 1000)      # the header of a real skin, few of its pixels
EOF

# Two opaque points of the built-in skin, clear of Wine's tray strip at the screen's top left:
# the whole-text button and the language button. Their colours on the screen, as a run without
# any skin shows them, are the reference every bad skin must give back.
toolbar_points() {
  local left top _
  read -r left top _ <<<"$(driver info "$TITLE")" || return 1
  screenshot "$WORK/shot.png"
  echo "$(pixel "$WORK/shot.png" $((left + 129)) $((top + 12))) $(pixel "$WORK/shot.png" $((left + 241)) $((top + 30)))"
}
# expect_builtin_skin WHAT: polls until the toolbar shows the reference colours.
expect_builtin_skin() {
  local deadline=$((SECONDS + 30)) seen=""
  until seen=$(toolbar_points) && [ "$seen" = "$REFERENCE" ]; do
    if [ $SECONDS -ge $deadline ]; then
      cp "$WORK/shot.png" "$ARTIFACTS/bad-input-failure.png" 2>/dev/null || true
      fail "$1: the toolbar shows '$seen', the built-in skin '$REFERENCE'"
    fi
    sleep 0.3
  done
}
no_error_box() { ! driver alive "エラー" >/dev/null 2>&1; }

# skin_case WHAT PLACE FILE: FILE given on the command line (PLACE "argument") or put beside
# the program as Ostrel4.png / Ostrel4.bmp (PLACE that name).
skin_case() {
  local what=$1 place=$2 file=$3
  echo "-- $what"
  rm -f "$INSTALL/Ostrel4.png" "$INSTALL/Ostrel4.bmp"
  if [ "$place" = argument ]; then
    start_program "$(winepath -w "$file")"
  else
    cp "$file" "$INSTALL/$place"
    start_program
  fi
  # The program's own message for a skin it cannot use, answered with Enter.
  driver wait-window "Ostrel4" 60 >/dev/null || fail "no message about the unusable skin ($what)"
  driver key "Ostrel4" 0x0D >/dev/null
  driver wait-window "$TITLE" 60 >/dev/null || fail "no toolbar after $what"
  expect_builtin_skin "$what"
  screenshot "$ARTIFACTS/bad-input-$(echo "$what" | tr -c 'a-zA-Z0-9\n' '-').png"
  close_with_escape
  no_error_box || fail "an error box after closing ($what)"
}

echo "-- the built-in skin, for reference"
start_program
driver wait-window "$TITLE" 60 >/dev/null || fail "no toolbar"
deadline=$((SECONDS + 30))
until REFERENCE=$(toolbar_points) && [ -n "$REFERENCE" ] && [[ $REFERENCE != *0,0,0* ]]; do
  [ $SECONDS -lt $deadline ] || fail "the built-in skin never showed at its reference points: '$REFERENCE'"
  sleep 0.3
done
close_with_escape

skin_case "a PNG cut in half, on the command line" argument "$WORK/cut.png"
skin_case "an empty PNG beside the program" Ostrel4.png "$WORK/empty.png"
skin_case "a PNG of one pixel beside the program" Ostrel4.png "$WORK/dot.png"
skin_case "a bitmap claiming 30000 x 30000 pixels beside the program" Ostrel4.bmp "$WORK/huge.bmp"
skin_case "a bitmap cut short, on the command line" argument "$WORK/cut.bmp"
rm -f "$INSTALL/Ostrel4.png" "$INSTALL/Ostrel4.bmp"

echo "-- a close while the skin's message is open (an installer's upgrade, a sign-out)"
reset_registry
start_program "$(winepath -w "$WORK/cut.png")"
driver wait-window "Ostrel4" 60 >/dev/null || fail "no message about the unusable skin (close case)"
driver post "$TITLE" 0x10 0 0 >/dev/null || fail "the starting toolbar was not found to close"
driver key "Ostrel4" 0x0D >/dev/null
deadline=$((SECONDS + 30))
while kill -0 "$PROGRAM_PID" 2>/dev/null; do
  no_error_box || fail "an error box after a close during the start-up"
  [ $SECONDS -lt $deadline ] || fail "the program did not end after a close during the start-up"
  sleep 0.3
done
wait "$PROGRAM_PID" || true
# Nothing half set up was saved.
expect_absent "$KEY" Alpha
expect_absent "$KEY" x

echo "-- registry values of the wrong type or out of range"
reset_registry
timeout 60 wine reg add "$KEY" /v Alpha /t REG_SZ /d 200 /f >/dev/null
timeout 60 wine reg add "$KEY" /v Repeat /t REG_BINARY /d 01 /f >/dev/null
timeout 60 wine reg add "$KEY" /v x /t REG_QWORD /d 5 /f >/dev/null
timeout 60 wine reg add "$KEY" /v HotKeyStop /t REG_MULTI_SZ /d 'S' /f >/dev/null
set_dword "$KEY" UseLanguageSet 256
set_dword "$KEY" Alpha_Min 4294967295
set_dword "$KEY\\English" speed 4294967295
set_dword "$KEY\\English" pitch 120
set_string "$KEY\\Japanese" UserDicPath "C:\\$(printf 'd%.0s' $(seq 293)).csv"
new_journal
start_program
driver wait-window "$TITLE" 60 >/dev/null || fail "no toolbar with bad registry values"
expect_builtin_skin "bad registry values"
if driver alive "Ostrel4" >/dev/null 2>&1; then fail "a message box for registry values"; fi
wait_for 30 "every language started" grep -q "StartLanguage 4" "$JOURNAL"
close_with_escape
no_error_box || fail "an error box after closing with bad registry values"
expect_value "$KEY" Alpha 0xff
expect_value "$KEY" Repeat 0x0
expect_value "$KEY" Alpha_Min 0x37
expect_value "$KEY" HotKeyStop 0x353
expect_value "$KEY\\English" speed 0x64
expect_value "$KEY\\English" pitch 0x78
[ "$(reg_dword "$KEY" x)" -le 32767 ] || fail "x was not repaired"
path=$(reg_value "$KEY\\Japanese" UserDicPath) || fail "no UserDicPath written back"
case "$path" in *userdict_jpn.csv) ;; *) fail "UserDicPath is '$path', not the default dictionary" ;; esac
# Never written by the program: left as it was.
expect_value "$KEY" UseLanguageSet 0x100
reset_registry
echo "PASS"
