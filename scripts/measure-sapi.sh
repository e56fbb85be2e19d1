#!/usr/bin/env bash
# How soon a SAPI voice is heard: from the engine's Speak call to the first audible sample, with
# the test voice (tests/sapi) under the stand-in SAPI, made as slow as a real voice by its
# TestRealTimePercent (10 and 50: rendering takes 0.1 and 0.5 times the sound's length), for a
# text whose first sentence is short and one whose first sentence is 400 characters long.
#   bash scripts/measure-sapi.sh [RUNS [BIN]]     BIN: another build's bin folder, to compare
# Needs a built tree (bash scripts/setup.sh) and the bench (cmake --build build/win --target sapi_bench).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1}
root=$PWD
bin=${2:-$root/build/win/bin}
bench_dir=$root/build/win/sapi-bench
probe=$root/build/tests/sound/sound_probe
rate=22050
[ -x "$probe" ] && [ -f "$bin/speech_bench.exe" ] && [ -f "$bench_dir/sapi.dll" ] ||
  { echo "build first: bash scripts/setup.sh; cmake --build build/win --target sapi_bench speech_bench" >&2; exit 1; }
# shellcheck source=scripts/measure-session.sh
source scripts/measure-session.sh
bash tests/sapi/install-sapi-bench.sh "$bench_dir" --voices
token='HKLM\SOFTWARE\Microsoft\Speech_OneCore\Voices\Tokens\OstrelTestVoice_jaJP_OneCore'

# latency FILE SECONDS: ms from Speak to the first audible sample of one reading, stopped after SECONDS.
latency() {
  local out=$session/bench.out speak
  (cd "$bin" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;sapi=n" timeout $(($2 + 60)) wine ./speech_bench.exe 1 \
    "$(winepath -w "$1")" "$2") | tr -d '\r' >"$out"
  sleep 0.3
  speak=$(awk -F= '$1 == "speak_qpc_ms" { print $2 }' "$out")
  "$probe" analyse "$recording" $rate --from-ms "$speak" |
    awk -F= -v s="$speak" '$1 == "first_voiced_ms" && $2 != "" { printf "%.0f\n", $2 - s }'
}

short=$session/short.txt long=$session/long.txt
sentence=$(printf 'あ%.0s' $(seq 400))
printf 'はい。%s。' "$sentence" | iconv -f UTF-8 -t CP932 >"$short"
printf '%s。はい。' "$sentence" | iconv -f UTF-8 -t CP932 >"$long"

echo "SAPI test voice: Speak to the first audible sample (ms), $runs runs, engine from $bin"
for percent in 10 50; do
  timeout 60 wine reg add "$token" /v TestRealTimePercent /t REG_DWORD /d $percent /f >/dev/null
  for case in "first sentence short|$short" "first sentence 400 characters|$long"; do
    IFS='|' read -r name file <<<"$case"
    values=()
    for _ in $(seq "$runs"); do values+=("$(latency "$file" $((percent * 6 / 10 + 8)))"); done
    echo "  real-time factor 0.$((percent / 10)), $name: ${values[*]} ms"
  done
done
bash tests/sapi/install-sapi-bench.sh "$bench_dir" --remove
