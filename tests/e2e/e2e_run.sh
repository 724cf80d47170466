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
# shellcheck source=../../scripts/lib/standins.sh
source "$e2e_root/scripts/lib/standins.sh"
program_pid="" wx_port=""
at_exit rm -rf "$work"

# shellcheck source=e2e_common.sh
source "$e2e_root/tests/e2e/e2e_common.sh"

# start_weather [standin-wx options...]: serves the work folder's weather, on wx_port once
# that is known (any free port the first time); writes servers.txt for the classic pages.
start_weather() {
  start_standin_wx "$e2e_build/bin/standin-wx" "$work/wx" --data "$work/weather" --port "${wx_port:-0}" "$@" ||
    fail "no listening line in $work/wx.out"
  wx_port=${wx_address##*:}
  "$e2e_root/scripts/lib/write-servers-txt" "$work/servers.txt" "$wx_address" classic
}

stop_weather() {
  stop_process "$wx_pid"
  wx_pid=""
}

# start_simulator: the stand-in simulator with the aircraft at 1000 m over San Francisco,
# logging into simulator.log (appended to across restarts).
start_simulator() {
  [[ -f $work/flight.txt ]] || printf '0 37.6167 -122.3667 1000\n' >"$work/flight.txt"
  : >"$work/sim.out"
  start_standin_sim "$e2e_build/bin/standin-sim" "$work/sim" --socket-dir "$STRATOCUE_LINK_DIR" \
    --flight "$work/flight.txt" --clock 12:00:00 --log "$work/simulator.part.log" ||
    fail "no listening line in $work/sim.out"
}

# kill_simulator SIGNAL: ends the stand-in simulator as a crash would (KILL) or cleanly.
kill_simulator() {
  stop_process "$sim_pid" "$1"
  sim_pid=""
  cat "$work/simulator.part.log" >>"$sim_log"
}

# start_program TICK_MS: the headless program in the work folder, its ticks in ticks.jsonl.
start_program() {
  start_process --in "$work" "$ticks" "$work/stratocue.err" "$e2e_build/bin/stratocue" --headless --tick-ms "$1"
  program_pid=$started_pid
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
  forget_process "$program_pid"
  program_pid=""
  ((status == 0)) || fail "the program ended with status $status"
  ! compgen -G "$mapping*" >/dev/null || fail "the link's mapping $mapping* is still there: the link was not closed"
  if [[ -n $sim_pid ]]; then kill_simulator TERM; fi
}

# climb_until_weather_written [WHAT]: the aircraft on the ground at San Francisco, then
# climbing to 3000 m, and the headless program following it until the simulator's write log
# shows the report's weather and a winds-aloft level (check_write_log.py; at most
# STRATOCUE_E2E_SECONDS, default 120); then SIGTERM ends it through End Program. Fails,
# naming WHAT, unless the whole write log shows that weather.
climb_until_weather_written() {
  cat >"$work/flight.txt" <<FLIGHT
# on the ground at San Francisco, then a climb to 3000 m
0 37.6167 -122.3667 2
3 37.6167 -122.3667 2
6 37.6167 -122.3667 3000
FLIGHT
  start_simulator
  start_program 500
  local deadline=$((SECONDS + ${STRATOCUE_E2E_SECONDS:-120}))
  until python3 "$e2e_root/tests/e2e/check_write_log.py" "$work/simulator.part.log" "$ticks" >/dev/null 2>&1; do
    if ((SECONDS >= deadline)) || ! running "$program_pid"; then break; fi
    sleep 0.5
  done
  end_program
  python3 "$e2e_root/tests/e2e/check_write_log.py" "$sim_log" "$ticks" || fail "the simulator did not get the weather${1:+ ($1)}"
}

