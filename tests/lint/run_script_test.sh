#!/usr/bin/env bash
# scripts/run.sh without a display, with stand-ins for the build, Wine, Xvfb and the sound
# server: the program gets the script's arguments in its own folder, a new prefix is booted
# once, and a stop of the script ends the program, the virtual display and the private sound
# server it started.
#
#   tests/lint/run_script_test.sh SOURCE_DIR
set -euo pipefail
source_dir=${1:?source folder}
fail() { echo "FAIL: $*" >&2; exit 1; }

tree=$(mktemp -d)
run_pid=""
trap '[ -z "$run_pid" ] || kill "$run_pid" 2>/dev/null || true; rm -rf "$tree"' EXIT
log="$tree/log"
mkdir -p "$tree/scripts" "$tree/build/win/bin" "$tree/stubs"
cp "$source_dir/scripts/run.sh" "$tree/scripts/run.sh"
printf '#!/usr/bin/env bash\nexit 0\n' >"$tree/scripts/setup.sh"
printf '#!/usr/bin/env bash\nexit 0\n' >"$tree/scripts/wine-prefix-setup.sh"
cat >"$tree/scripts/sound-server.sh" <<EOF
#!/usr/bin/env bash
echo "sound \$1 \$2" >>"$log"
[ "\$1" = start ] && echo "PULSE_SERVER=unix:\$2/native; OSTREL_SINK=ostrel"
exit 0
EOF
stub() { printf '#!/usr/bin/env bash\n%s\n' "$2" >"$tree/stubs/$1"; chmod +x "$tree/stubs/$1"; }
stub wine "echo \"wine \$PWD \$*\" >>'$log'; echo \"program \$\$\" >>'$log'; exec sleep 60"
stub wineboot "echo wineboot >>'$log'"
stub Xvfb "echo \"xvfb \$\$\" >>'$log'; exec sleep 60"
stub xdpyinfo "exit 0"
stub pactl "exit 1"

PATH="$tree/stubs:$PATH" OSTREL_WINEPREFIX="$tree/prefix" \
  env -u DISPLAY bash "$tree/scripts/run.sh" "D:\\skin.png" >"$tree/out" 2>"$tree/err" &
run_pid=$!
for _ in $(seq 100); do grep -q '^wine ' "$log" 2>/dev/null && break; sleep 0.1; done
grep -q '^wine ' "$log" 2>/dev/null || fail "the program was not started: $(cat "$tree/out" "$tree/err")"
kill -TERM "$run_pid"
wait "$run_pid" || true
run_pid=""

grep -qx "wine $tree/build/win/bin ./Ostrel4.exe D:\\\\skin.png" "$log" ||
  fail "the program was not started in its folder with the arguments: $(grep '^wine' "$log")"
[ "$(grep -c '^wineboot$' "$log")" -eq 1 ] || fail "a new prefix was not booted once"
started=$(sed -n 's/^sound start //p' "$log")
[ -n "$started" ] || fail "no private sound server was started without a display"
grep -qx "sound stop $started" "$log" || fail "the sound server in $started was not stopped: $(cat "$log" "$tree/err")"
[ ! -e "$started" ] || fail "the sound server's folder $started was left"
# Ended means gone or a zombie: nobody may be left to reap it here.
running() { [ -e "/proc/$1" ] && ! grep -q '^[0-9]* ([^)]*) Z' "/proc/$1/stat" 2>/dev/null; }
xvfb=$(sed -n 's/^xvfb //p' "$log")
for _ in $(seq 20); do running "$xvfb" || break; sleep 0.1; done
! running "$xvfb" || fail "the virtual display is still running"
program=$(sed -n 's/^program //p' "$log")
! running "$program" || fail "the program is still running"
! grep -q 'No such file' "$tree/err" || fail "the clean-up missed a file: $(cat "$tree/err")"
echo "PASS: run.sh starts the program and ends what it started"
