#!/usr/bin/env bash
# A private PulseAudio server whose default sink is a null sink, so that what Wine's waveOut
# plays can be recorded from the sink's monitor on a machine without sound hardware:
#   sound-server.sh start DIR [SINK]   starts it; prints the environment its clients need
#   sound-server.sh stop DIR           ends it by its PID
# It runs as whoever calls it, root included (CI), without DBus and without touching the
# caller's own sound server or its files: state, socket and cookie all live under DIR.
set -euo pipefail
action=${1:?start or stop}
dir=${2:?directory}
sink=${3:-ostrel}

stop_server() {
  [ -f "$dir/pulse.pid" ] || return 0
  local pid
  pid=$(cat "$dir/pulse.pid")
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null || true
  rm -f "$dir/pulse.pid"
  if [ -f "$dir/pulse.runtime" ]; then rm -rf "$(cat "$dir/pulse.runtime")"; rm -f "$dir/pulse.runtime"; fi
}

case "$action" in
stop)
  stop_server
  ;;
start)
  stop_server
  mkdir -p "$dir/pulse/config"
  runtime="$dir/pulse/run"
  # A Unix socket path holds at most 107 bytes; a deep build tree gets a short one in /tmp.
  if [ ${#runtime} -gt 90 ]; then
    runtime=$(mktemp -d /tmp/ostrel-pulse.XXXXXX)
    echo "$runtime" >"$dir/pulse.runtime"
  fi
  rm -rf "$runtime" && mkdir -p "$runtime" && chmod 700 "$runtime"
  # Clients must never start a server of their own when this one is gone.
  printf 'autospawn = no\n' >"$dir/pulse/client.conf"
  socket="$runtime/pulse/native"
  # Idle suspension is left out (-n loads no default modules): the monitor then delivers
  # silence at the real-time rate while nothing plays, which lets a recording keep the clock.
  XDG_RUNTIME_DIR="$runtime" PULSE_RUNTIME_PATH="$runtime/pulse" XDG_CONFIG_HOME="$dir/pulse/config" \
    PULSE_STATE_PATH="$dir/pulse/state" DBUS_SESSION_BUS_ADDRESS=disabled: \
    pulseaudio --daemonize=no --exit-idle-time=-1 -n --use-pid-file=no --log-target=stderr \
    --load="module-null-sink sink_name=$sink sink_properties=device.description=$sink" \
    --load="module-native-protocol-unix auth-anonymous=1" \
    >"$dir/pulse.log" 2>&1 </dev/null &
  echo $! >"$dir/pulse.pid"
  export PULSE_SERVER="unix:$socket" PULSE_CLIENTCONFIG="$dir/pulse/client.conf"
  for _ in $(seq 100); do timeout 5 pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  if ! timeout 5 pactl set-default-sink "$sink" >/dev/null 2>&1; then
    echo "the sound server did not answer" >&2
    cat "$dir/pulse.log" >&2
    stop_server
    exit 1
  fi
  cat <<ENV
export PULSE_SERVER="unix:$socket"
export PULSE_CLIENTCONFIG="$dir/pulse/client.conf"
export OSTREL_SINK="$sink"
ENV
  ;;
*)
  echo "usage: $0 start|stop DIR [SINK]" >&2
  exit 2
  ;;
esac
