#!/usr/bin/env bash
# End to end: standin-wx serves a report and the winds-aloft bulletins, standin-sim holds
# the aircraft at San Francisco and then climbs, and the headless program follows. The
# simulator's write log must show the report's weather and a winds-aloft level.
set -euo pipefail
build=$1
root=$2

work=$(mktemp -d /tmp/stratocue-e2e.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

wait_for_line() {
  for _ in $(seq 1 100); do
    if grep -q "listening on" "$1" 2>/dev/null; then grep -m1 "listening on" "$1" | sed 's/.*listening on //'; return 0; fi
    sleep 0.1
  done
  echo "no listening line in $1" >&2; cat "$1" >&2; return 1
}

mkdir -p "$work/weather/fd"
cp "$root/data/demo/weather/fd/"* "$work/weather/fd/"
cp "$root/tests/data/e2e/metars.txt" "$work/weather/"
"$build/bin/standin-wx" --data "$work/weather" --port 0 >"$work/wx.out" 2>&1 &
pids+=($!)
weather=$(wait_for_line "$work/wx.out")

cat >"$work/flight.txt" <<FLIGHT
# on the ground at San Francisco, then a climb to 3000 m
0 37.6167 -122.3667 2
3 37.6167 -122.3667 2
6 37.6167 -122.3667 3000
FLIGHT
"$build/bin/standin-sim" --flight "$work/flight.txt" --clock 12:00:00 --log "$work/simulator.log" \
  >"$work/sim.out" 2>&1 &
pids+=($!)
wait_for_line "$work/sim.out" >/dev/null

cp "$root/data/icao.txt" "$root/data/fdwinds.txt" "$work/"
printf 'metar_nws=%s\nmetar_vatsim=%s\nfdwinds=%s\n' "$weather" "$weather" "$weather" >"$work/servers.txt"
(cd "$work" && "$build/bin/stratocue" --headless --run-seconds 9 --tick-ms 500 >"$work/ticks.jsonl" 2>"$work/stratocue.err")

kill -TERM "${pids[1]}"
wait "${pids[1]}" || true
python3 "$root/tests/e2e/check_write_log.py" "$work/simulator.log" "$work/ticks.jsonl"
