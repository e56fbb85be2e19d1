#!/usr/bin/env bash
# Installs what is missing (Debian packages), then configures and builds all the
# trees: native core and tests, the Windows program under build/win, the sanitizer
# build of the core and the ThreadSanitizer build of the speech engine's tests. A
# second run reuses what is installed and built.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake make g++ python3
  mingw-w64 gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb x11-utils xauth xdotool imagemagick fonts-noto-cjk
  fonts-ipafont-gothic fonts-vlgothic fonts-arphic-uming fonts-unfonts-core
  googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev nlohmann-json3-dev
  pulseaudio pulseaudio-utils sox espeak-ng mecab mecab-ipadic-utf8
  nsis weasyprint python3-markdown poppler-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build -j2
