#!/usr/bin/env bash
# The program's start-up and shutdown of the settings and the speech engine.
source "$(dirname "$0")/lib.sh"

echo "-- empty registry: the defaults are written for every language"
reset_registry
new_journal
open_and_close
expected=$'SetUserDictionary 1\nStartLanguage 1\nSetUserDictionary 2\nStartLanguage 2\nSetUserDictionary 3\nStartLanguage 3\nSetUserDictionary 4\nStartLanguage 4'
actual=$(journal_ops | grep -E '^(SetUserDictionary|StartLanguage)')
[ "$actual" = "$expected" ] || fail "engine start order: $actual"
for l in 1 2 3 4; do
  [ "$(journal_ops | grep -c "^CloseLanguage $l$")" = 1 ] || fail "CloseLanguage $l missing: $(cat "$JOURNAL")"
done
expect_value "$KEY" language 0x0
expect_value "$KEY" Repeat 0x0
expect_value "$KEY" Alpha 0xff
expect_value "$KEY" Alpha_Min 0x37
expect_value "$KEY" Alpha_Max 0xff
expect_value "$KEY" HotKeySelRead 0x250
expect_value "$KEY" HotKeyAllRead 0x350
expect_value "$KEY" HotKeyStop 0x353
expect_absent "$KEY" UseLanguageSet
dir=$(winepath -w "$BIN")
for language in Japanese Chinese English Korean; do
  expect_value "$KEY\\$language" speed 0x64
  expect_value "$KEY\\$language" pitch 0x64
  expect_value "$KEY\\$language" volume 0x64
  expect_value "$KEY\\$language" pause 0x320
  expect_value "$KEY\\$language" commapause 0x12c
done
expect_value "$KEY\\Chinese" codepage 0x0
expect_value "$KEY\\Korean" ParenthesisCharNumber 0x0
expect_value "$KEY\\Japanese" UserDicPath "$dir\\VW\\VT\\Misaki\\M16\\data-common\\userdict\\userdict_jpn.csv"
expect_value "$KEY\\Korean" UserDicPath "$dir\\VW\\VT\\Yumi\\M16\\data-common\\userdict\\userdict_kor.csv"

echo "-- machine-wide UseLanguageSet 4: only English starts and becomes the language"
reset_registry
timeout 60 wine reg add 'HKLM\Software\Brantic\Ostrel4' /v UseLanguageSet /t REG_DWORD /d 4 /f >/dev/null
new_journal
open_and_close
actual=$(journal_ops | grep -E '^(SetUserDictionary|StartLanguage|Speak|Stop|Pause|Resume|CloseLanguage) ' | tr '\n' ';')
[ "$actual" = "SetUserDictionary 3;StartLanguage 3;CloseLanguage 3;" ] || fail "engine calls: $actual"
expect_value "$KEY" language 0x2
expect_absent "$KEY" UseLanguageSet
expect_value 'HKLM\Software\Brantic\Ostrel4' UseLanguageSet 0x4
if timeout 60 wine reg query "$KEY\\Japanese" >/dev/null 2>&1; then fail "a disabled language was written"; fi

echo "-- a long dictionary path survives the next start"
reset_registry
long="C:\\$(printf 'd%.0s' $(seq 200))\\userdict.csv"
timeout 60 wine reg add "$KEY\\Japanese" /v UserDicPath /t REG_SZ /d "$long" /f >/dev/null
new_journal
open_and_close
expect_value "$KEY\\Japanese" UserDicPath "$long"
reset_registry
echo "PASS"
