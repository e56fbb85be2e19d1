#!/usr/bin/env bash
# What a user downloads, used as a user would: the setup program installs silently into a fresh
# prefix, the installed toolbar reads a text aloud and opens its manual, support page and
# dictionary editor from Program Files, an upgrade keeps the user's dictionary and closes the
# running toolbar, the silent uninstall removes everything it made and keeps the user's own
# settings; then the portable zip, unpacked into an odd folder, does the same.
source "$(dirname "$0")/lib.sh"
DIST=${OSTREL_DIST:-$(cd "$BIN/.." && pwd)/dist}
VERSION=$(sed -n 's/^project(OstrelQuartet VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
SETUP="$DIST/Ostrel4-$VERSION-setup.exe"
PORTABLE="$DIST/Ostrel4-$VERSION-portable.zip"
[ -f "$SETUP" ] || fail "no setup program at $SETUP"
[ -f "$PORTABLE" ] || fail "no portable zip at $PORTABLE"
unset ORVATONE_SPEAK_MS  # the real voice: a reading must be heard
DIALOG="環境設定"
CTRL=0xA2
LEFT=20 TOP=40
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ostrel4'
UPDATE_KEY='HKLM\SOFTWARE\BRANTIC\Ostrel4\AppUpdate'
EDITOR="userdict_jpn.csv - ユーザー辞書編集（日本語）"

# A prefix of its own, as fresh as a new machine: nothing of the shared session's is installed.
SESSION_PREFIX=$WINEPREFIX
export WINEPREFIX="$WORK/prefix"
end_prefix() {
  driver end-process "$EDITOR" >/dev/null 2>&1 || true
  cleanup
  timeout 30 wineserver -k >/dev/null 2>&1 || true
}
trap end_prefix EXIT
echo "-- a fresh prefix"
timeout 600 wineboot -i >"$WORK/wineboot.log" 2>&1 || fail "wineboot failed: $(tail -5 "$WORK/wineboot.log")"
bash "$(dirname "$0")/../../scripts/wine-prefix-setup.sh"
[ "$SESSION_PREFIX" != "$WINEPREFIX" ] || fail "the prefix is the session's"

DRIVE_C="$WINEPREFIX/drive_c"
INSTALLED="$DRIVE_C/Program Files/Brantic/Ostrel Quartet"
MENU="$DRIVE_C/ProgramData/Microsoft/Windows/Start Menu/Programs"
STARTUP_LINK="$MENU/StartUp/Ostrel Quartet.lnk"
SHIPPED=(
  Ostrel4.exe Orvatone.dll Hanvert.dll AppUpdateBRN.exe マニュアル.pdf Branticユーザーサポート.website
  THIRD-PARTY-NOTICES.txt licenses/Apache-2.0.txt licenses/Hanvert-data.txt support/index.html
  VW/VT/Misaki/M16/bin/UserDicJpn.exe VW/VT/Hui/M16/bin/UserDicChi.exe
  VW/VT/Kate/M16/bin/UserDicEng.exe VW/VT/Yumi/M16/bin/UserDicKor.exe
  VW/VT/Misaki/M16/data-common/userdict/userdict_jpn.csv VW/VT/Hui/M16/data-common/userdict/userdict_chi.csv
  VW/VT/Kate/M16/data-common/userdict/userdict_eng.csv VW/VT/Yumi/M16/data-common/userdict/userdict_kor.csv
)

# Documents open through the shell; here their "program" records what it was given, so that
# nothing reaches a browser or the network.
OPENED="$WORK/opened.txt"
record_documents() {
  local command
  command="\"$(winepath -w "$BIN/ostrel_driver.exe")\" record-open \"$(winepath -w "$OPENED")\" \"%1\""
  for extension in .pdf .website; do
    timeout 60 wine reg add "HKLM\\Software\\Classes\\$extension" /ve /d OstrelTest.Document /f >/dev/null
  done
  timeout 60 wine reg add 'HKLM\Software\Classes\OstrelTest.Document\shell\open\command' /ve /d "$command" /f >/dev/null
}

check_program_folder() {  # FOLDER: every shipped file, each program and library with its version
  local folder=$1 file info
  for file in "${SHIPPED[@]}"; do
    [ -s "$folder/$file" ] || fail "$file is missing in $folder"
  done
  for file in Ostrel4.exe Orvatone.dll Hanvert.dll AppUpdateBRN.exe VW/VT/Misaki/M16/bin/UserDicJpn.exe; do
    info=$(driver version-info "$(winepath -w "$folder/$file")") || fail "$file has no version resource"
    [[ "$info" == "Ostrel Quartet|$VERSION|"?*"|$VERSION.0" ]] || fail "$file: version resource '$info'"
  done
  grep -q "^URL=https://" "$folder/Branticユーザーサポート.website" || fail "the support shortcut has no address"
  grep -q ">$VERSION<" "$folder/support/index.html" || fail "the support page does not show version $VERSION"
}

# A reading from the program in FOLDER: text selected in notepad, the hot key, a Speak line in
# the journal and the voice heard on the session's sound sink.
read_aloud_from() {
  local folder=$1
  new_journal
  in_background bash -c 'cd "$0" && exec timeout 300 wine ./Ostrel4.exe' "$folder"
  PROGRAM_PID=$LAST_PID
  driver wait-window "$TITLE" 60 >/dev/null || fail "the toolbar did not open from $folder"
  [ "$(driver process-path "$TITLE")" = "$(winepath -w "$folder/Ostrel4.exe")" ] ||
    fail "the toolbar runs from $(driver process-path "$TITLE"), not from $folder"
  driver edit-set "$NOTEPAD" "インストールした読み上げです。"
  driver edit-select "$NOTEPAD" 0 -1
  local mark
  mark=$(record_mark)
  driver key "$NOTEPAD" "$CTRL+0x50" >/dev/null
  wait_for 60 "the text to reach the engine" grep -q " Speak 1 " "$JOURNAL"
  wait_heard 60 "$mark" "the reading"
  wait_silent 300 60 "$mark" "the reading"
}

open_documents() {  # FOLDER: the menu's manual and support commands open the files beside the program
  local folder=$1
  : >"$OPENED"
  driver post "$TITLE" 0x0111 32775 0 >/dev/null || fail "could not send the manual command"
  wait_for 30 "the manual to be opened" grep -q "マニュアル.pdf" "$OPENED"
  driver post "$TITLE" 0x0111 32777 0 >/dev/null || fail "could not send the support command"
  wait_for 30 "the support page to be opened" grep -q "Branticユーザーサポート.website" "$OPENED"
  local expected
  expected=$(winepath -w "$folder")
  while read -r line; do
    line=${line%$'\r'}
    [ "${line%\\*}" = "$expected" ] || fail "opened '$line', not a file of $expected"
  done <"$OPENED"
  ! driver alive "Ostrel4" >/dev/null 2>&1 || fail "a failure message appeared: $(driver foreground)"
  # The engine's notices carry the product's name, as the toolbar does.
  [ "$(driver count "$TITLE")" = 1 ] || fail "a message of the engine appeared: $(driver foreground)"
}

open_editor() {  # FOLDER: the Japanese page's ユーザー辞書編集 starts the editor below FOLDER
  local folder=$1
  xdotool mousemove --sync $((LEFT + 276)) $((TOP + 31)) click 1
  driver wait-window "$DIALOG" 30 >/dev/null || fail "the settings dialog did not open"
  # The dialog's window comes before its pages.
  wait_for 30 "the Japanese page" eval 'driver page-control "$DIALOG" 1023 >/dev/null 2>&1'
  local l t w h
  read -r l t w h _ <<<"$(driver page-control "$DIALOG" 1023)" || fail "no editor button"
  xdotool mousemove --sync $((l + w / 2)) $((t + h / 2)) click 1
  driver wait-window "$EDITOR" 60 >/dev/null || fail "the editor did not open"
  [ "$(driver process-path "$EDITOR")" = "$(winepath -w "$folder/VW/VT/Misaki/M16/bin/UserDicJpn.exe")" ] ||
    fail "the editor runs from $(driver process-path "$EDITOR")"
  driver end-process "$EDITOR" >/dev/null
  driver post "$DIALOG" 0x0111 2 0 >/dev/null || fail "could not cancel the settings dialog"
  driver wait-gone "$DIALOG" 30 || fail "the settings dialog did not close"
}

# --- the setup program -------------------------------------------------------------
echo "-- silent install, update check off"
timeout 300 wine "$SETUP" /S /AUTOCHK=0 || fail "the setup program failed: $?"
check_program_folder "$INSTALLED"
[ -f "$INSTALLED/Uninstall.exe" ] || fail "no uninstaller"
expect_value "$UPDATE_KEY" AutoChk 0
reg_value "$UPDATE_KEY" FeedUrl | grep -q '^https://' || fail "no update feed address"
expect_value "$UNINSTALL_KEY" DisplayName "Ostrel Quartet"
expect_value "$UNINSTALL_KEY" DisplayVersion "$VERSION"
expect_value "$UNINSTALL_KEY" Publisher "Brantic"
expect_value "$UNINSTALL_KEY" DisplayIcon 'C:\Program Files\Brantic\Ostrel Quartet\Ostrel4.exe,0'
expect_value "$UNINSTALL_KEY" UninstallString '"C:\Program Files\Brantic\Ostrel Quartet\Uninstall.exe"'
[ "$(reg_dword "$UNINSTALL_KEY" EstimatedSize)" -gt 1000 ] || fail "no size in the uninstall entry"
[ -f "$MENU/Ostrel Quartet/Ostrel Quartet.lnk" ] || fail "no Start-menu shortcut for the program"
[ -f "$MENU/Ostrel Quartet/ユーザーズマニュアル.lnk" ] || fail "no Start-menu shortcut for the manual"
[ ! -e "$STARTUP_LINK" ] || fail "a sign-in shortcut that was not asked for"

echo "-- the installed toolbar reads, opens its documents and its editor"
open_notepad 300 300
record_documents
record_start installed
timeout 60 wine reg delete 'HKCU\Software\Brantic' /f >/dev/null 2>&1 || true
set_dword "$KEY" x $LEFT
set_dword "$KEY" y $TOP
read_aloud_from "$INSTALLED"
open_documents "$INSTALLED"
open_editor "$INSTALLED"

echo "-- an upgrade over the running toolbar: it is closed, the user's words stay, choices change"
printf 'Ostrel,おすとれる\r\n' >>"$INSTALLED/VW/VT/Misaki/M16/data-common/userdict/userdict_jpn.csv"
driver move "$TITLE" 60 80
# A box of the update check started by hand carries the product's name, as the toolbar does:
# the upgrade must close the toolbar and leave the box alone.
set_string "$UPDATE_KEY" FeedUrl "http://update.invalid/update.json"
in_background bash -c "cd '$INSTALLED' && timeout 300 wine ./AppUpdateBRN.exe"
titled() { test "$(driver count "$TITLE")" = "$1"; }
wait_for 60 "the update check's box" titled 2
# The update check runs at the next start; the test's feed is on the loopback, where nobody answers.
timeout 300 wine "$SETUP" /S /AUTOCHK=1 /STARTUP=1 || fail "the upgrade failed: $?"
wait_for 30 "the toolbar to close" titled 1
driver post "$TITLE" 0x0111 1 0 >/dev/null || fail "the update check's box was closed too"
driver wait-gone "$TITLE" 30 || fail "the update check's box stayed"
wait_program_exit 30
expect_value "$KEY" x 0x3c  # closed as the user closes it: the position was saved
grep -q '^Ostrel,おすとれる' "$INSTALLED/VW/VT/Misaki/M16/data-common/userdict/userdict_jpn.csv" ||
  fail "the upgrade replaced the user's dictionary"
expect_value "$UPDATE_KEY" AutoChk 1
[ -f "$STARTUP_LINK" ] || fail "no sign-in shortcut"

echo "-- with the update check on, the toolbar starts the installed updater"
set_string "$UPDATE_KEY" FeedUrl "http://127.0.0.1:9/update.json"
LOG="$(log_folder)/AppUpdateBRN.log"
rm -f "$LOG"
start_program_from() {
  in_background bash -c 'cd "$0" && exec timeout 300 wine ./Ostrel4.exe' "$1"
  PROGRAM_PID=$LAST_PID
  driver wait-window "$TITLE" 60 >/dev/null || fail "the toolbar did not open from $1"
}
start_program_from "$INSTALLED"
wait_for 60 "the updater's log line" grep -qs "127.0.0.1" "$LOG"
close_with_escape

echo "-- silent uninstall: nothing of it left, the user's settings and dictionaries kept"
APPDATA_DICTIONARY="$(winepath -u "$(timeout 60 wine cmd /c echo %APPDATA% | tr -d '\r')")/Brantic/Ostrel4/userdict_jpn.csv"
mkdir -p "$(dirname "$APPDATA_DICTIONARY")"
printf 'Ostrel,おすとれる\r\n' >"$APPDATA_DICTIONARY"
timeout 120 wine "$INSTALLED/Uninstall.exe" /S || fail "the uninstaller failed: $?"
# The uninstaller runs on from a copy of itself in the temp folder; the machine-wide key is the
# last thing it removes, so everything else is settled once that key has gone.
wait_for 60 "the uninstaller to finish" bash -c '! timeout 60 wine reg query "HKLM\\SOFTWARE\\BRANTIC" >/dev/null 2>&1'
[ ! -e "$DRIVE_C/Program Files/Brantic" ] || fail "the program folder is left: $(ls -R "$DRIVE_C/Program Files/Brantic")"
[ ! -e "$MENU/Ostrel Quartet" ] || fail "the Start-menu folder is left: $(ls "$MENU/Ostrel Quartet")"
[ ! -e "$STARTUP_LINK" ] || fail "the sign-in shortcut is left"
! timeout 60 wine reg query "$UNINSTALL_KEY" >/dev/null 2>&1 || fail "the uninstall entry is left"
expect_value "$KEY" x 0x3c
[ -s "$APPDATA_DICTIONARY" ] || fail "the user's dictionary was removed"

# --- the portable zip --------------------------------------------------------------
echo "-- the portable zip, unpacked into a folder with spaces and Japanese in its name"
PORTABLE_PARENT="$DRIVE_C/持ち運び 版"
mkdir -p "$PORTABLE_PARENT"
/usr/bin/python3 -m zipfile -e "$PORTABLE" "$PORTABLE_PARENT" || fail "the zip did not unpack"
PORTABLE_FOLDER="$PORTABLE_PARENT/Ostrel4"
check_program_folder "$PORTABLE_FOLDER"
[ ! -e "$PORTABLE_FOLDER/Uninstall.exe" ] || fail "the portable zip carries the uninstaller"
set_dword "$KEY" x $LEFT
set_dword "$KEY" y $TOP
for language in Japanese Chinese English Korean; do  # back to the defaults beside the program
  timeout 60 wine reg delete "$KEY\\$language" /v UserDicPath /f >/dev/null 2>&1 || true
done
read_aloud_from "$PORTABLE_FOLDER"
open_documents "$PORTABLE_FOLDER"
open_editor "$PORTABLE_FOLDER"
close_with_escape
record_stop
echo "PASS"
