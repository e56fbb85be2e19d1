#!/usr/bin/env bash
# Readings heard: the real engine speaks notepad's text through espeak-ng into the session's
# null sink, and the recording shows each language spoken, the voice settings at work (speed,
# pitch, volume, the pause between sentences), the stop hot key, pause and resume by the read
# button, a reading that outlives its sink being taken away and put back, the settings dialog's
# テスト button, and what reaches the synthesiser (MeCab's katakana, the user dictionary, the
# Korean parenthesis rule). Then the SAPI path: with the test voice registered, Wine's own SAPI
# fails at once and espeak-ng takes over; under the stand-in the test voice reads a text and the
# テスト button's sentence (its signal decoded from the recording), and when it fails midway
# espeak-ng reads on. Every figure is a ratio or a bound on the recording, so a slow machine
# changes none of them.
source "$(dirname "$0")/lib.sh"
unset ORVATONE_SPEAK_MS
CTRL=0xA2 SHIFT=0xA0
LEFT=20 TOP=40
DIALOG="環境設定"
# Three sentences: the pause between sentences shows twice, and the pause click falls inside.
ENGLISH="The first sentence is read out here. The second one follows after it. And the third sentence ends the test."

count_of() { grep -c " $1 " "$JOURNAL" || true; }
has_count() { [ "$(count_of "$1")" -ge "$2" ]; }
# tick_of KIND N: the journal tick of the Nth line of that kind.
tick_of() { grep " $1 " "$JOURNAL" | sed -n "${2}p" | awk '{ print $1 }'; }
# utter_since N: the text (UTF-8) of the Utter lines after the Nth Speak, one a line.
utter_since() {
  awk -v n="$1" '$2 == "Speak" { s++ } $2 == "Utter" && s >= n { print $4 }' "$JOURNAL" |
    while read -r h; do printf "$(sed 's/../\\x&/g' <<<"$h")\n"; done
}
journal_tail() { tail -n 8 "$JOURNAL" | cut -c1-120; }

# The journals go to the artifacts, and after a failure the recording too, to be listened to.
keep_evidence() {
  local status=$? n=0 j
  for j in "${JOURNALS[@]}"; do n=$((n + 1)); cp "$j" "$ARTIFACTS/speech-journal-$n.txt" 2>/dev/null || true; done
  if [ "$status" != 0 ] && [ -s "${RECORDING:-}" ]; then
    sox -t raw -r "$RATE" -e signed -b 16 -c 1 "$RECORDING" "$ARTIFACTS/speech-recording.wav" 2>/dev/null &&
      echo "recording: $ARTIFACTS/speech-recording.wav; journals: $ARTIFACTS/speech-journal-*.txt" >&2
  fi
  if [ -n "${SAPI_BENCH:-}" ]; then bash "$HERE/../sapi/install-sapi-bench.sh" "$SAPI_BENCH" --remove || true; fi
  cleanup
}
trap keep_evidence EXIT
HERE=$(cd "$(dirname "$0")" && pwd)
JOURNALS=()

# toolbar LANGUAGE-INDEX: a fresh journal and the program started with the registry as set up.
toolbar() {
  set_dword "$KEY" language "$1"
  new_journal
  JOURNALS+=("$JOURNAL")
  start_program
  driver wait-window "$TITLE" 60 >/dev/null || fail "the toolbar did not open"
  wait_for 30 "the toolbar to be drawn" toolbar_drawn $((LEFT + 28)) $((TOP + 22))
}

# start_reading TEXT [KEYS]: notepad holds TEXT, all selected, and the hot key reads it; MARK
# is where the reading's sound begins in the recording, SPEAKS the Speak lines before it.
start_reading() {
  driver edit-set "$NOTEPAD" "$1"
  driver edit-select "$NOTEPAD" 0 -1
  SPEAKS=$(count_of Speak)
  DONES=$(count_of Done)
  MARK=$(record_mark)
  driver key "$NOTEPAD" "${2:-$CTRL+0x50}" >/dev/null
  wait_for 30 "a Speak line for '$1'" has_count Speak $((SPEAKS + 1))
}

# hear_reading TEXT WHAT: one whole reading; the M_ figures describe it afterwards.
hear_reading() {
  start_reading "$1"
  finish_reading "$2"
}

finish_reading() {
  wait_heard 60 "$MARK" "$1"
  wait_for 120 "the end of $1 (Done)" has_count Done $((DONES + 1))
  wait_silent 300 10 "$MARK" "$1"
  measure --from "$MARK" --to "$(record_mark)"
  in_range "$M_voiced_s" 0.5 1000 || fail "$1: too little sound: $MEASURED"
  echo "   $1: voiced ${M_voiced_s} s, rms ${M_rms}, f0 ${M_f0_hz} Hz, heard ${M_first_voiced_s}..${M_last_voiced_s} s"
}

# sounding_before TICK WHAT: the reading was still to be heard in the 400 ms before TICK, so what
# follows TICK says something about the operation at TICK.
sounding_before() {
  measure --from-ms $(($1 - 400)) --to-ms "$1"
  in_range "$M_voiced_s" 0.05 1 || fail "nothing was heard in the 400 ms before $2: $MEASURED"
}

span_of_reading() { awk -v a="$M_first_voiced_s" -v b="$M_last_voiced_s" 'BEGIN { printf "%.3f\n", b - a }'; }

# expect_ratio WHAT VALUE BASE LOW HIGH
expect_ratio() {
  local r
  r=$(ratio "$2" "$3")
  in_range "$r" "$4" "$5" || fail "$1: ratio $r ($2 against $3), expected $4 to $5"
  echo "   $1: ratio $r"
}

# stop_heard_reading WHAT: a second into the sound the stop hot key; the reading is silent by the
# Stop tick and never ends. STOPPED is that tick; the recording is measured up to now.
stop_heard_reading() {
  wait_heard 30 "$MARK" "$1"
  sleep 1
  local before
  before=$(count_of Stop)
  driver key "$NOTEPAD" "$CTRL+$SHIFT+0x53" >/dev/null
  wait_for 10 "the Stop line" has_count Stop $((before + 1))
  STOPPED=$(tick_of Stop $((before + 1)))
  sleep 1.5
  sounding_before "$STOPPED" "the Stop"
  measure --from "$MARK" --to "$(record_mark)"
  awk -v l="$M_last_voiced_ms" -v s="$STOPPED" 'BEGIN { exit !(l <= s + 200) }' ||
    fail "sound went on $(awk -v l="$M_last_voiced_ms" -v s="$STOPPED" 'BEGIN { print l - s }') ms after the Stop: $MEASURED"
  awk -v s="$STOPPED" '$1 >= s && $2 == "Done"' "$JOURNAL" | grep -q . && fail "a Done line after the Stop: $(journal_tail)"
  echo "   silent $(awk -v l="$M_last_voiced_ms" -v s="$STOPPED" 'BEGIN { printf "%.0f", l - s }') ms after the Stop tick"
}

# test_button_heard WHAT: the settings dialog's Japanese page speaks its test sentence at a click
# on テスト, heard to its end; キャンセル closes the dialog.
test_button_heard() {
  local l t w h
  xdotool mousemove --sync $((LEFT + 276)) $((TOP + 31)) click 1
  driver wait-window "$DIALOG" 30 >/dev/null || fail "the settings dialog did not open"
  wait_for 10 "the Japanese page" driver page-shows "$DIALOG" "これは、日本語音声合成のテストです。"
  read -r l t w h _ <<<"$(driver page-control "$DIALOG" 1020)" || fail "no テスト button"
  SPEAKS=$(count_of Speak) DONES=$(count_of Done) MARK=$(record_mark)
  xdotool mousemove --sync $((l + w / 2)) $((t + h / 2)) click 1
  wait_for 30 "the test sentence's Speak" has_count Speak $((SPEAKS + 1))
  finish_reading "$1"
  read -r l t w h _ <<<"$(driver control "$DIALOG" 2)" || fail "no キャンセル button"
  xdotool mousemove --sync $((l + w / 2)) $((t + h / 2)) click 1
  driver wait-gone "$DIALOG" 30 || fail "キャンセル did not close the dialog"
  xdotool mousemove --sync 10 700
}

reset_registry
set_dword "$KEY" x $LEFT
set_dword "$KEY" y $TOP
open_notepad 600 420
record_start speech

echo "-- [${SECONDS}s] Japanese: kanji reach espeak-ng as katakana; the テスト button speaks"
JAPANESE="日本語の音声合成です。"
toolbar 0
hear_reading "$JAPANESE" "Japanese"
ESPEAK_FIRST_SOUND=$(awk -v a="$M_first_voiced_s" -v m="$MARK" 'BEGIN { printf "%.2f", a - m }')
grep -q ' Voice 1 ' "$JOURNAL" || fail "no Voice line for Japanese: $(journal_tail)"
said=$(utter_since $((SPEAKS + 1)))
[ -n "$said" ] || fail "no Utter line for Japanese: $(journal_tail)"
grep -qP '[\x{30A1}-\x{30FA}]' <<<"$said" || fail "Japanese reached the synthesiser without katakana: $said"
! grep -qP '[\x{4E00}-\x{9FFF}]' <<<"$said" || fail "kanji reached the synthesiser: $said"
echo "   handed over: $said"

test_button_heard "the テスト button"
close_with_escape

echo "-- [${SECONDS}s] Chinese, with a user dictionary"
printf '# written,reading\n中文,汉语\n' >"$WORK/chinese.csv"
set_string "$KEY\\Chinese" UserDicPath "$(winepath -w "$WORK/chinese.csv")"
toolbar 1
hear_reading "这是中文语音合成的测试。" "Chinese"
said=$(utter_since $((SPEAKS + 1)))
grep -q '汉语' <<<"$said" && ! grep -q '中文' <<<"$said" || fail "the dictionary did not change the Utter line: $said"
echo "   handed over: $said"
close_with_escape

echo "-- [${SECONDS}s] Korean, with the parenthesis rule"
set_dword "$KEY\\Korean" ParenthesisCharNumber 4
toolbar 3
hear_reading "안녕하세요 (인사말입니다) 반갑습니다 (네)." "Korean"
said=$(utter_since $((SPEAKS + 1)))
grep -q '인사말입니다' <<<"$said" || fail "the long parenthesis was dropped: $said"
! grep -q '(네)' <<<"$said" || fail "the short parenthesis was read: $said"
echo "   handed over: $said"
close_with_escape

echo "-- [${SECONDS}s] English at the normal voice, paused and resumed, and stopped"
set_dword "$KEY\\English" pause 0
toolbar 2
hear_reading "$ENGLISH" "English, normal"
NORMAL_VOICED=$M_voiced_s NORMAL_F0=$M_f0_hz NORMAL_RMS=$M_rms NORMAL_SPAN=$(span_of_reading)

start_reading "$ENGLISH"
wait_heard 30 "$MARK" "the reading to pause"
sleep 1  # into the first sentence
before=$(count_of Pause)
xdotool mousemove --sync $((LEFT + 79)) $((TOP + 31)) click 1
wait_for 10 "the Pause line" has_count Pause $((before + 1))
paused=$(tick_of Pause $((before + 1)))
sleep 1.5
before=$(count_of Resume)
xdotool click 1  # the pointer is still there (a --sync move to where it is would wait for nothing)
wait_for 10 "the Resume line" has_count Resume $((before + 1))
resumed=$(tick_of Resume $((before + 1)))
xdotool mousemove --sync 10 700  # off the toolbar: the next start must not find the pointer on it
sounding_before "$paused" "the pause"
finish_reading "English, paused and resumed"
pausedMeasure=$MEASURED
expect_ratio "voiced time paused against not" "$M_voiced_s" "$NORMAL_VOICED" 0.9 1.1
measure --from-ms $((paused + 200)) --to-ms "$resumed"
in_range "$M_voiced_s" 0 0.02 || fail "sound while paused ($((resumed - paused)) ms): $MEASURED; the reading: $pausedMeasure"

start_reading "$ENGLISH"
stop_heard_reading "the reading to stop"

# The sink taken away mid-reading stands for a headset pulled out: Wine's waveOut then reports no
# error, its blocks just never finish, so the player's stall limit finds it; the default device is
# opened again and the reading goes on where it was, to one Done and no device-failure notice.
LOG="$(log_folder)/Ostrel4.log"
REOPENED="the sound device failed; opening the default device again" TOLD="the sound could not be played"
lines_of() { grep -c "$1" "$LOG" || true; }
reopened=$(lines_of "$REOPENED") told=$(lines_of "$TOLD")
start_reading "$ENGLISH"
wait_heard 30 "$MARK" "the reading before the sink goes"
sleep 1
module=$(timeout 10 pactl list short modules | awk '$2 == "module-null-sink" { print $1 }')
[ -n "$module" ] || fail "no null sink module to take away"
timeout 10 pactl unload-module "$module"
record_stop  # it recorded the sink that went
measure --from "$MARK"
BEFORE_VOICED=$M_voiced_s
timeout 10 pactl load-module module-null-sink sink_name="$OSTREL_SINK" sink_properties=device.description="$OSTREL_SINK" >/dev/null
timeout 10 pactl set-default-sink "$OSTREL_SINK"
record_start speech-after-unplug
MARK=0
finish_reading "the rest of the reading on the sink put back"
[ "$(count_of Done)" -eq $((DONES + 1)) ] || fail "not one Done for the reading: $(journal_tail)"
[ "$(utter_since $((SPEAKS + 1)) | wc -l)" -eq 3 ] || fail "the sentences were not handed over once each: $(journal_tail)"
expect_ratio "voiced time before and after the sink went, against the whole reading" \
  "$(awk -v a="$BEFORE_VOICED" -v b="$M_voiced_s" 'BEGIN { print a + b }')" "$NORMAL_VOICED" 0.85 1.4
[ "$(lines_of "$REOPENED")" -gt "$reopened" ] || fail "no reopening in the log: $(tail -n 5 "$LOG")"
[ "$(lines_of "$TOLD")" -eq "$told" ] || fail "the user was told of a device failure: $(tail -n 5 "$LOG")"
close_with_escape

echo "-- [${SECONDS}s] English at speed 200"
set_dword "$KEY\\English" speed 200
toolbar 2
hear_reading "$ENGLISH" "English, speed 200"
expect_ratio "voiced time at speed 200" "$M_voiced_s" "$NORMAL_VOICED" 0.4 0.65
close_with_escape

echo "-- [${SECONDS}s] English at pitch 150"
set_dword "$KEY\\English" speed 100
set_dword "$KEY\\English" pitch 150
toolbar 2
hear_reading "$ENGLISH" "English, pitch 150"
expect_ratio "fundamental frequency at pitch 150" "$M_f0_hz" "$NORMAL_F0" 1.3 1.7
close_with_escape

echo "-- [${SECONDS}s] English at volume 50"
set_dword "$KEY\\English" pitch 100
set_dword "$KEY\\English" volume 50
toolbar 2
hear_reading "$ENGLISH" "English, volume 50"
expect_ratio "loudness at volume 50" "$M_rms" "$NORMAL_RMS" 0.4 0.6
close_with_escape

echo "-- [${SECONDS}s] English with a pause of 2000 ms between sentences"
set_dword "$KEY\\English" volume 100
set_dword "$KEY\\English" pause 2000
toolbar 2
hear_reading "$ENGLISH" "English, pause 2000"
span=$(span_of_reading)
awk -v a="$span" -v b="$NORMAL_SPAN" 'BEGIN { exit !(a - b >= 3.5) }' ||
  fail "the pauses lengthened the reading by $(awk -v a="$span" -v b="$NORMAL_SPAN" 'BEGIN { print a - b }') s only ($span s against $NORMAL_SPAN s): $MEASURED"
echo "   lengthened by $(awk -v a="$span" -v b="$NORMAL_SPAN" 'BEGIN { printf "%.2f", a - b }') s"
close_with_escape

# --- SAPI ---
SAPI_BENCH=$(cd "$BIN/../sapi-bench" && pwd)
DECODE=$(cd "$BIN/../../tests/sapi" && pwd)/test_voice_decode
ONECORE_TOKEN='HKLM\SOFTWARE\Microsoft\Speech_OneCore\Voices\Tokens\OstrelTestVoice_jaJP_OneCore'
CLASSIC_TOKEN='HKLM\SOFTWARE\Microsoft\Speech\Voices\Tokens\OstrelTestVoice_jaJP'
bash "$HERE/../sapi/install-sapi-bench.sh" "$SAPI_BENCH" --voices
with_standin() { WINEDLLOVERRIDES="$WINEDLLOVERRIDES;sapi=n" "$@"; }
last_voice() { grep ' Voice 1 ' "$JOURNAL" | tail -n 1 | cut -d' ' -f4-; }
# decoded_since MARK: the test voice's records in the recording from MARK (seconds) on.
decoded_since() {
  local bytes
  bytes=$(awk -v m="$1" -v r="$RATE" 'BEGIN { printf "%d\n", int(m * r) * 2 }')
  tail -c +$((bytes + 1)) "$RECORDING" >"$WORK/since.raw"
  "$DECODE" "$WORK/since.raw" "$RATE" || true
}
# notice WORDS...: the engine's box tells of the replaced voice with each of WORDS; OK closes it.
notice() {
  local text
  text=$(driver box "$TITLE" 30) || fail "no notice of the replaced voice: $(journal_tail)"
  for word in "$@"; do grep -qF "$word" <<<"$text" || fail "the notice does not name $word: $text"; done
  echo "   told: $text"
}

echo "-- [${SECONDS}s] Wine's own SAPI lists the test voice but cannot speak: espeak-ng reads at once"
toolbar 0
hear_reading "$JAPANESE" "Japanese, Wine's SAPI failing"
[ "$(last_voice)" = "espeak-ng $(grep ' Voice 1 espeak-ng ' "${JOURNALS[0]}" | head -n 1 | cut -d' ' -f5-)" ] ||
  fail "espeak-ng does not read after Wine's SAPI failed: $(grep ' Voice ' "$JOURNAL")"
grep -q ' Voice 1 SAPI-OneCore Ostrel Test Japanese OneCore' "$JOURNAL" || fail "the test voice was not tried: $(journal_tail)"
notice "Ostrel Test Japanese OneCore" "espeak-ng"
start_ms() { awk '$2 == "StartLanguage" && $3 == 1 { s = $1 } $2 == "Voice" && $3 == 1 && s != "" { print $1 - s; exit }' "$1"; }
echo "   StartLanguage to its Voice line: $(start_ms "$JOURNAL") ms (espeak-ng alone: $(start_ms "${JOURNALS[0]}") ms)"
echo "   first sound $(awk -v a="$M_first_voiced_s" -v m="$MARK" 'BEGIN { printf "%.2f", a - m }') s after the hot key (espeak-ng alone: ${ESPEAK_FIRST_SOUND} s)"
close_with_escape

echo "-- [${SECONDS}s] the stand-in's SAPI: the test voice reads, decoded from the recording"
with_standin toolbar 0
# The first few milliseconds a device plays under Wine may be lost, and with them the first
# sentence's record: the sentences that count come after it.
hear_reading "はい。テストの文です。二つ目です。" "Japanese, the test voice"
[ "$(last_voice)" = "SAPI-OneCore Ostrel Test Japanese OneCore" ] || fail "not the test voice: $(grep ' Voice ' "$JOURNAL")"
decoded=$(decoded_since "$MARK")
grep -qF 'text="テストの文です。"' <<<"$decoded" && grep -qF 'text="二つ目です。"' <<<"$decoded" ||
  fail "the test voice's records were not heard: $decoded"
echo "   decoded: $(grep -c '^fragment' <<<"$decoded") fragments;" \
  "first sound $(awk -v a="$M_first_voiced_s" -v m="$MARK" 'BEGIN { printf "%.2f", a - m }') s after the hot key"
# The page's test sentence goes through the same voice; its part after the comma is what counts.
test_button_heard "the テスト button, the test voice"
decoded=$(decoded_since "$MARK")
grep -qF 'text="日本語音声合成のテストです。"' <<<"$decoded" || fail "the test sentence did not reach the test voice: $decoded"
close_with_escape

echo "-- [${SECONDS}s] a slow voice's long sentence is heard while it is made, and stops at once"
set_dword "$ONECORE_TOKEN" TestRealTimePercent 50
with_standin toolbar 0
start_reading "$(printf 'あ%.0s' $(seq 120))。"
speak=$(tick_of Speak "$((SPEAKS + 1))")
stop_heard_reading "the long sentence"
# Whole, the sentence takes the voice about 9 s to make; it was heard long before that.
awk -v f="$M_first_voiced_ms" -v s="$speak" 'BEGIN { exit !(f - s < 3000) }' ||
  fail "the first sound came $(awk -v f="$M_first_voiced_ms" -v s="$speak" 'BEGIN { print f - s }') ms after Speak: $MEASURED"
echo "   first sound $(awk -v f="$M_first_voiced_ms" -v s="$speak" 'BEGIN { printf "%.0f", f - s }') ms after Speak"
close_with_escape
set_dword "$ONECORE_TOKEN" TestRealTimePercent 0

echo "-- [${SECONDS}s] the test voice fails after two sentences, the classic one cannot start: espeak-ng reads on"
set_dword "$ONECORE_TOKEN" TestFailAfter 2
set_dword "$CLASSIC_TOKEN" TestFailCreate 1
with_standin toolbar 0
hear_reading "はい。一つ目の文です。二つ目の文です。三つ目の文です。" "Japanese, failing over"
decoded=$(decoded_since "$MARK")
grep -qF 'text="一つ目の文です。"' <<<"$decoded" || fail "the test voice did not read before it failed: $decoded"
! grep -qF 'text="二つ目の文です。"' <<<"$decoded" || fail "the failing voice's third sentence was played: $decoded"
in_range "$M_last_voiced_s" 2.5 1000 || fail "the text did not go on after the failure: $MEASURED"
case "$(last_voice)" in espeak-ng\ *) ;; *) fail "espeak-ng does not read now: $(grep ' Voice ' "$JOURNAL")" ;; esac
[ "$(utter_since $((SPEAKS + 1)) | wc -l)" = 4 ] || fail "not every sentence was handed on: $(journal_tail)"
notice "Ostrel Test Japanese OneCore" "espeak-ng"
close_with_escape

record_stop
reset_registry
echo "PASS"
