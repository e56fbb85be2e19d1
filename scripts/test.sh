#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: native unit tests, the same under
# AddressSanitizer/UBSan, the speech engine's under ThreadSanitizer, fuzzing, Windows
# tests under Wine, and end-to-end runs of the program under Wine on a virtual display.
# ctest's summary ends the output.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
bash scripts/setup.sh
echo "Set-up and build took $((SECONDS - start)) s"
exec ctest --test-dir build --output-on-failure -j2 "$@"
