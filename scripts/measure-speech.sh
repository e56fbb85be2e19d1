#!/usr/bin/env bash
# How quickly and at what cost the engine speaks, heard from the session's null sink:
#  - latency: from the engine's Speak call to the first audible sample, for one sentence and
#    for a text of 1 MiB, in English and Japanese (Japanese goes through MeCab first);
#  - memory: the peak working set and peak private bytes of the process hosting the engine
#    (tests/e2e/driver/speech_bench.cpp) while it reads the 1 MiB text, against before Speak;
#  - real-time factor of the synthesiser: the host's espeak-ng (with MeCab for Japanese) timed
#    rendering each language's sample sentence, divided by the length of the audio it made.
#    It is what one utterance costs the engine before it can play it, without Wine's file
#    exchange, which the latency above includes.
# Needs a built tree: bash scripts/setup.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
root=$PWD
bin=$root/build/win/bin
probe=$root/build/tests/sound/sound_probe
rate=22050
[ -x "$probe" ] && [ -f "$bin/speech_bench.exe" ] || { echo "build first: bash scripts/setup.sh" >&2; exit 1; }
# shellcheck source=scripts/measure-session.sh
source scripts/measure-session.sh

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "-" }'; }
value() { awk -F= -v k="$1" '$1 == k { print $2 }' "$2"; }

# bench LANGUAGE FILE SECONDS: one reading through speech_bench; OUT holds its figures, LATENCY
# the ms from the Speak call to the first audible sample (none when nothing was heard).
bench() {
  OUT=$session/bench.out
  (cd "$bin" && timeout $(($3 + 120)) wine ./speech_bench.exe "$1" "$(winepath -w "$2")" "$3") | tr -d '\r' >"$OUT"
  sleep 0.3  # the last fragment reaches the recording
  local speak
  speak=$(value speak_qpc_ms "$OUT")
  LATENCY=$("$probe" analyse "$recording" $rate --from-ms "$speak" | awk -F= -v s="$speak" '$1 == "first_voiced_ms" && $2 != "" { printf "%.0f\n", $2 - s }')
  UTTER=$(awk -v s="${speak%.*}" '$1 >= s - 16 && $2 == "Utter" { print $1 - s; exit }' "$journal")
}

sentence_en="$session/sentence-en.txt" sentence_ja="$session/sentence-ja.txt"
printf 'This is a test of English speech synthesis.' >"$sentence_en"
printf 'これは日本語音声合成の試験です。' | iconv -f UTF-8 -t CP932 >"$sentence_ja"
long_en="$session/long-en.txt" long_ja="$session/long-ja.txt"
# Cut from endless streams (each of these characters is two bytes in CP932, so no cut splits one).
head -c 1048576 >"$long_en" < <(yes 'This sentence is one of many in a very long text, read from its start. ')
# iconv reads all its input before it writes: give it a bounded stream.
head -c 1048576 >"$long_ja" < <(head -n 23000 < <(yes 'これは長い文章の一部で、最初から読み上げます。') | tr -d '\n' | iconv -f UTF-8 -t CP932)

echo "Latency: Speak to the first audible sample (ms; first Utter line after Speak in brackets), $runs runs"
for case in "English sentence|3|$sentence_en" "Japanese sentence|1|$sentence_ja"; do
  IFS='|' read -r name language file <<<"$case"
  values=() utters=()
  for _ in $(seq "$runs"); do
    bench "$language" "$file" 30
    values+=("${LATENCY:--}") utters+=("${UTTER:--}")
  done
  echo "  $name: ${values[*]} ms [${utters[*]}]; median $(printf '%s\n' "${values[@]}" | median) ms"
done

echo "A text of 1 MiB: latency, and the engine's process memory before Speak and while reading 15 s"
for case in "English 1 MiB|3|$long_en" "Japanese 1 MiB|1|$long_ja"; do
  IFS='|' read -r name language file <<<"$case"
  bench "$language" "$file" 15
  echo "  $name ($(value text_bytes "$OUT") bytes): latency ${LATENCY:--} ms [Utter +${UTTER:--} ms]," \
    "Speak returned in $(value speak_call_ms "$OUT") ms;" \
    "peak working set $(value before_peak_working_set_kb "$OUT") -> $(value reading_peak_working_set_kb "$OUT") KiB," \
    "peak private $(value before_peak_private_kb "$OUT") -> $(value reading_peak_private_kb "$OUT") KiB"
done

echo "Synthesiser real-time factor (host espeak-ng render time / audio length), $runs runs"
rtf() {  # NAME VOICE TEXT [MECAB]
  local wav=$session/rtf.wav factors=()
  for _ in $(seq "$runs"); do
    local start end
    start=$("$probe" now)
    if [ -n "${4:-}" ]; then
      printf '%s\n' "$3" | mecab -Oyomi | espeak-ng -v "$2" -w "$wav" 2>/dev/null
    else
      espeak-ng -v "$2" -w "$wav" "$3" 2>/dev/null
    fi
    end=$("$probe" now)
    factors+=("$(awk -v a="$start" -v b="$end" -v d="$(soxi -D "$wav")" 'BEGIN { printf "%.3f", (b - a) / 1000 / d }')")
  done
  echo "  $1 ($2, $(soxi -D "$wav" | awk '{ printf "%.2f", $1 }') s of audio): ${factors[*]}; median $(printf '%s\n' "${factors[@]}" | median)"
}
rtf Japanese ja "これは、日本語音声合成のテストです。" mecab
rtf Chinese cmn-latn-pinyin "这是中文语音合成的测试。"
rtf English en-us "A test of English, speech synthesis."
rtf Korean ko "이것은 한국어음성의 테스트입니다."

echo "Rerun: bash scripts/measure-speech.sh $runs"
