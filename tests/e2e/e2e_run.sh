# Shared by the end-to-end fault scripts (sourced, after "set -euo pipefail"):
#     source e2e_run.sh BUILD_DIR SOURCE_DIR
# Makes a private work folder with the shipped station files, the demo's weather and a
# socket folder of its own (STRATOCUE_LINK_DIR), and gives functions that start the
# stand-ins and the headless program in it, wait for what the program shows with generous
# bounds, and end the program as the user's signal does. Everything still running is
# stopped and the folder removed when the script exits.

# A sanitizer build keeps freed memory aside for a while (256 MB by default); a small
# quarantine keeps the memory figures of the fault runs about the program's own.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=4

e2e_build=$(cd "$1" && pwd)
e2e_root=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/stratocue-e2e.XXXXXX")
export STRATOCUE_LINK_DIR=$work/link
mkdir -p "$STRATOCUE_LINK_DIR" "$work/weather/fd"
cp "$e2e_root/data/demo/weather/fd/"* "$work/weather/fd/"
cp "$e2e_root/tests/data/e2e/metars.txt" "$work/weather/"
cp "$e2e_root/data/icao.txt" "$e2e_root/data/fdwinds.txt" "$work/"
ticks=$work/ticks.jsonl
sim_log=$work/simulator.log
resources=$work/resources.txt
wx_pid="" sim_pid="" program_pid="" wx_port=""

e2e_cleanup() {
  local pid
  for pid in "$program_pid" "$sim_pid" "$wx_pid"; do
    [[ -n $pid ]] && kill -TERM "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap e2e_cleanup EXIT

# shellcheck source=e2e_common.sh
source "$e2e_root/tests/e2e/e2e_common.sh"

# shellcheck source=../../scripts/lib/wait_for_listening.sh
source "$e2e_root/scripts/lib/wait_for_listening.sh"

# What follows "listening on" in FILE once a server has written it (30 s at most).
listening_address() { wait_for_listening "$1" 30 || fail "no listening line in $1"; }

# start_weather [standin-wx options...]: serves the work folder's weather, on wx_port once
# that is known (any free port the first time); writes servers.txt for the classic pages.
start_weather() {
  local port_option=(--port "${wx_port:-0}")
  "$e2e_build/bin/standin-wx" --data "$work/weather" "${port_option[@]}" "$@" >"$work/wx.out" 2>"$work/wx.err" &
  wx_pid=$!
  local address
  address=$(listening_address "$work/wx.out")
  wx_port=${address##*:}
  printf 'metar_nws=%s\nmetar_vatsim=%s\nfdwinds=%s\n' "$address" "$address" "$address" >"$work/servers.txt"
}

stop_weather() {
  kill -TERM "$wx_pid"
  wait "$wx_pid" || true
  wx_pid=""
}

# start_simulator: the stand-in simulator with the aircraft at 1000 m over San Francisco,
# logging into simulator.log (appended to across restarts).
start_simulator() {
  [[ -f $work/flight.txt ]] || printf '0 37.6167 -122.3667 1000\n' >"$work/flight.txt"
  : >"$work/sim.out"
  "$e2e_build/bin/standin-sim" --socket-dir "$STRATOCUE_LINK_DIR" --flight "$work/flight.txt" --clock 12:00:00 \
    --log "$work/simulator.part.log" >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  listening_address "$work/sim.out" >/dev/null
}

# kill_simulator SIGNAL: ends the stand-in simulator as a crash would (KILL) or cleanly.
kill_simulator() {
  kill "-$1" "$sim_pid"
  { wait "$sim_pid"; } 2>/dev/null || true
  sim_pid=""
  cat "$work/simulator.part.log" >>"$sim_log"
}

# start_program TICK_MS: the headless program in the work folder, its ticks in ticks.jsonl.
start_program() {
  (cd "$work" && exec "$e2e_build/bin/stratocue" --headless --tick-ms "$1" >"$ticks" 2>"$work/stratocue.err") &
  program_pid=$!
}

# watch [--after TICK] [--timeout S] CONDITION...: the number of the first tick that meets
# every condition (tick_watch.py), sampling the program's memory and descriptors meanwhile.
watch() {
  python3 "$e2e_root/tests/e2e/tick_watch.py" "$ticks" --pid "$program_pid" --resources "$resources" "$@" ||
    fail "waited in vain for: $*"
}

# end_program [SIGNAL]: SIGTERM (or SIGNAL: INT, HUP), as the user's signal; the program must
# end by itself with status 0
# within a minute and leave no link mapping behind (End Program closed the link), whichever
# open of the link it was.
end_program() {
  local mapping
  mapping=/dev/shm/FSASMLIB:IPC:$(printf '%X' "$program_pid"):
  kill "-${1:-TERM}" "$program_pid"
  local deadline=$((SECONDS + 60))
  while running "$program_pid" && ((SECONDS < deadline)); do sleep 0.1; done
  running "$program_pid" && fail "the program did not end within 60 s of SIG${1:-TERM}"
  local status=0
  wait "$program_pid" || status=$?
  program_pid=""
  ((status == 0)) || fail "the program ended with status $status"
  ! compgen -G "$mapping*" >/dev/null || fail "the link's mapping $mapping* is still there: the link was not closed"
  if [[ -n $sim_pid ]]; then kill_simulator TERM; fi
}
