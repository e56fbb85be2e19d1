#!/usr/bin/env bash
# Puts the SAPI test bench into a Wine prefix (WINEPREFIX, with the rest of the session's
# environment):
#   install-sapi-bench.sh BENCH_DIR            the stand-in sapi.dll where the prefix registers
#                                              SAPI's classes (Wine's own is kept as sapi.dll.wine)
#   install-sapi-bench.sh BENCH_DIR --voices   ... and the test voice with its tokens (regsvr32)
#   install-sapi-bench.sh BENCH_DIR --remove   the test voice's tokens and class out, Wine's sapi.dll back
# BENCH_DIR holds sapi.dll and OstrelTestVoice.dll (build/win/sapi-bench). The stand-in is used
# only by processes started with sapi=n in WINEDLLOVERRIDES (run-sapi-test.sh).
set -euo pipefail
bench=$(cd "${1:?bench directory}" && pwd)
action=${2:-}
: "${WINEPREFIX:?WINEPREFIX names the prefix}"
common="$WINEPREFIX/drive_c/windows/system32/Speech/Common"
[ -d "$common" ] || { echo "install-sapi-bench: $common is missing; is $WINEPREFIX a prefix?" >&2; exit 1; }
voice_dll=$(winepath -w "$bench/OstrelTestVoice.dll")

if [ "$action" = --remove ]; then
  timeout 120 wine regsvr32 /s /u "$voice_dll" >/dev/null 2>&1 || true
  if [ -f "$common/sapi.dll.wine" ]; then mv -f "$common/sapi.dll.wine" "$common/sapi.dll"; fi
  exit 0
fi

# Wine's own carries its builtin mark; only that one is kept aside, never ours over it.
if grep -q "Wine builtin DLL" "$common/sapi.dll" 2>/dev/null; then cp -f "$common/sapi.dll" "$common/sapi.dll.wine"; fi
cp -f "$bench/sapi.dll" "$common/sapi.dll.new"
mv -f "$common/sapi.dll.new" "$common/sapi.dll"

if [ "$action" = --voices ]; then
  timeout 120 wine regsvr32 /s "$voice_dll" || { echo "install-sapi-bench: regsvr32 $voice_dll failed" >&2; exit 1; }
fi
