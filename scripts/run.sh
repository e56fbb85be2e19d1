#!/usr/bin/env bash
# Sets up and builds (scripts/setup.sh), then starts build/win/bin/Ostrel4.exe under Wine and
# hands it this script's arguments (a skin file, for one). The Wine prefix is $OSTREL_WINEPREFIX,
# by default ~/.local/share/ostrel-quartet/wine; its first use runs wineboot and the prefix
# set-up (fonts), which takes a few minutes. Without $DISPLAY the toolbar runs on a virtual
# display (Xvfb) and, unless a sound server answers, plays into a private server's null sink.
# Both end with the script, as does the program when the script is stopped.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash "$root/scripts/setup.sh"

export WINEPREFIX=${OSTREL_WINEPREFIX:-$HOME/.local/share/ostrel-quartet/wine}
export WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 91 250); do [ -e "/tmp/.X$n-lock" ] || { display=$n; break; }; done
  Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  echo "No display: running on the virtual display $DISPLAY"
fi
# Sound: the user's own server where one answers; on the virtual display, where nobody listens,
# a private one with a null sink, so the engine still has a device to play into (and its sink's
# monitor can be recorded: parec -d ostrel.monitor).
sound_dir=""
if [ -n "$xvfb_pid" ] && ! timeout 5 pactl info >/dev/null 2>&1; then
  sound_dir=$(mktemp -d)
  if sound_env=$(bash "$root/scripts/sound-server.sh" start "$sound_dir"); then
    eval "$sound_env"
    echo "No sound server: playing into the null sink $OSTREL_SINK (PULSE_SERVER=$PULSE_SERVER)"
  else
    echo "No sound server could be started: the reading will be silent" >&2
  fi
fi
program_pid=""
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  [ -z "$sound_dir" ] || { bash "$root/scripts/sound-server.sh" stop "$sound_dir"; rm -rf "$sound_dir"; }
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 143' TERM

if [ ! -d "$WINEPREFIX" ]; then
  mkdir -p "$WINEPREFIX"
  timeout 600 wineboot -i >/dev/null 2>&1
fi
# Again whenever the prefix set-up has changed since it was last applied (fonts, for one).
stamp="$WINEPREFIX/.ostrel-prefix-setup"
wanted=$(sha256sum "$root/scripts/wine-prefix-setup.sh" | cut -d' ' -f1)
if [ "$(cat "$stamp" 2>/dev/null)" != "$wanted" ]; then
  bash "$root/scripts/wine-prefix-setup.sh"
  echo "$wanted" >"$stamp"
fi
cd "$root/build/win/bin"
# In the background and waited for, so that a stop of this script reaches the cleanup at once.
wine ./Ostrel4.exe "$@" &
program_pid=$!
wait "$program_pid"
