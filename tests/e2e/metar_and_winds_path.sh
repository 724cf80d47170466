#!/usr/bin/env bash
# End to end: standin-wx serves a report and the winds-aloft bulletins, standin-sim holds
# the aircraft at San Francisco and then climbs, and the headless program follows. The
# simulator's write log must show the report's weather and a winds-aloft level. The run
# lasts until the log and the program's tick lines show all of that (at most
# STRATOCUE_E2E_SECONDS, default 120), then the program gets SIGTERM, which ends it through
# End Program.
set -euo pipefail
build=$1
root=$2
bound=${STRATOCUE_E2E_SECONDS:-120}

# shellcheck source=../../scripts/lib/wait_for_listening.sh
source "$root/scripts/lib/wait_for_listening.sh"

# The run's own folder also holds the link's socket, so runs side by side never meet.
work=$(mktemp -d /tmp/stratocue-e2e.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/weather/fd"
cp "$root/data/demo/weather/fd/"* "$work/weather/fd/"
cp "$root/tests/data/e2e/metars.txt" "$work/weather/"
"$build/bin/standin-wx" --data "$work/weather" --port 0 >"$work/wx.out" 2>&1 &
pids+=($!)
weather=$(wait_for_listening "$work/wx.out")

cat >"$work/flight.txt" <<FLIGHT
# on the ground at San Francisco, then a climb to 3000 m
0 37.6167 -122.3667 2
3 37.6167 -122.3667 2
6 37.6167 -122.3667 3000
FLIGHT
"$build/bin/standin-sim" --socket-dir "$work" --flight "$work/flight.txt" --clock 12:00:00 \
  --log "$work/simulator.log" >"$work/sim.out" 2>&1 &
pids+=($!)
wait_for_listening "$work/sim.out" >/dev/null

cp "$root/data/icao.txt" "$root/data/fdwinds.txt" "$work/"
printf 'metar_nws=%s\nmetar_vatsim=%s\nfdwinds=%s\n' "$weather" "$weather" "$weather" >"$work/servers.txt"
(cd "$work" && STRATOCUE_LINK_DIR=$work exec "$build/bin/stratocue" --headless --tick-ms 500 \
  >"$work/ticks.jsonl" 2>"$work/stratocue.err") &
program=$!
pids+=($program)

check() { python3 "$root/tests/e2e/check_write_log.py" "$work/simulator.log" "$work/ticks.jsonl"; }
deadline=$((SECONDS + bound))
until check >/dev/null 2>&1; do
  if ((SECONDS >= deadline)) || ! kill -0 "$program" 2>/dev/null; then break; fi
  sleep 0.5
done

kill -TERM "$program" 2>/dev/null || true
wait "$program" || true
check
