#!/usr/bin/env bash
# One Wine prefix and one virtual X display for one test run:
#   wine-session.sh start DIR   makes DIR/prefix, starts Xvfb, a sound server with a null sink
#                               (sound-server.sh) and a persistent wineserver
#   wine-session.sh stop DIR    ends them by their PIDs
# The other scripts read DIR/env for WINEPREFIX, DISPLAY, PULSE_SERVER, OSTREL_SINK and the rest.
set -euo pipefail
action=${1:?start or stop}
dir=${2:?session directory}

stop_session() {
  [ -f "$dir/env" ] || return 0
  # shellcheck disable=SC1091
  ( source "$dir/env"; timeout 30 wineserver -k >/dev/null 2>&1 || true )
  for pidfile in "$dir/wineserver.pid" "$dir/xvfb.pid"; do
    [ -f "$pidfile" ] || continue
    pid=$(cat "$pidfile")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$pidfile"
  done
  bash "$(dirname "$0")/sound-server.sh" stop "$dir"
  rm -f "$dir/env"
}

free_display() {
  for n in $(seq 91 250); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then echo "$n"; return; fi
  done
  echo "no free X display number" >&2
  exit 1
}

case "$action" in
stop)
  stop_session
  ;;
start)
  stop_session
  rm -rf "$dir/prefix"
  mkdir -p "$dir"
  display=$(free_display)
  Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
  echo $! >"$dir/xvfb.pid"
  for _ in $(seq 100); do xdpyinfo -display ":$display" >/dev/null 2>&1 && break; sleep 0.1; done
  xdpyinfo -display ":$display" >/dev/null 2>&1 || { echo "Xvfb :$display did not answer"; cat "$dir/xvfb.log"; exit 1; }

  cat >"$dir/env" <<ENV
export WINEPREFIX="$dir/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=":$display"
export LC_ALL=C.UTF-8
ENV
  # Wine's winepulse plays into it; the tests record its sink's monitor.
  bash "$(dirname "$0")/sound-server.sh" start "$dir" >>"$dir/env" || { echo "the sound server did not start"; exit 1; }
  # shellcheck disable=SC1091
  source "$dir/env"
  wineserver -p -f >/dev/null 2>&1 &
  echo $! >"$dir/wineserver.pid"
  timeout 600 wineboot -i >"$dir/wineboot.log" 2>&1 || { echo "wineboot failed"; tail -20 "$dir/wineboot.log"; exit 1; }
  "$(dirname "$0")/wine-prefix-setup.sh"
  echo "Wine session ready: WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY"
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2
  exit 2
  ;;
esac
