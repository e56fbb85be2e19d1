#!/usr/bin/env bash
# Sets everything up, builds, and writes what a user downloads into dist/: the setup program
# and the portable zip (both made by the Windows build's `release` target from one staged
# program folder; the version is the project's, in CMakeLists.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
version=$(sed -n 's/^project(OstrelQuartet VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
mkdir -p dist
for file in "Ostrel4-$version-setup.exe" "Ostrel4-$version-portable.zip"; do
  cp "build/win/dist/$file" dist/
done
(cd dist && sha256sum "Ostrel4-$version-setup.exe" "Ostrel4-$version-portable.zip" >"Ostrel4-$version.sha256")
ls -l dist
