#!/usr/bin/env bash
# End to end: "Smooth weather changes" checked through stratocue.ini. The aircraft waits on
# the ground at San Francisco, then is put down at Oakland; the two reports differ by 6 hPa,
# 20 knots and 90 degrees (through north). The simulator's write log must show the first
# weather written at once, then the new weather moving at the ramp's rates, the pressure
# reaching Oakland's in six minutes of ticks. The setting is saved again on the way out.
set -euo pipefail
source "$(dirname "$0")/e2e_run.sh" "$1" "$2"

cp "$e2e_root/tests/data/e2e/smooth/metars.txt" "$work/weather/"
printf '# kept between runs\nchkSMOOTH=1\n' >"$work/stratocue.ini"
cat >"$work/flight.txt" <<FLIGHT
# on the ground at San Francisco, then on the ground at Oakland
0 37.6167 -122.3667 2
20 37.6167 -122.3667 2
21 37.7167 -122.2333 3
FLIGHT
start_weather
start_simulator
start_program 1000

deadline=$((SECONDS + ${STRATOCUE_E2E_SECONDS:-540}))
until python3 "$e2e_root/tests/e2e/check_ramp_log.py" "$work/simulator.part.log" "$ticks" >/dev/null 2>&1; do
  if ((SECONDS >= deadline)) || ! running "$program_pid"; then break; fi
  sleep 2
done
end_program
python3 "$e2e_root/tests/e2e/check_ramp_log.py" "$sim_log" "$ticks" || fail "the weather did not move at the ramp's rates"
grep -qx 'chkSMOOTH=1' "$work/stratocue.ini" || fail "End Program did not keep the setting: $(cat "$work/stratocue.ini")"
echo "smooth weather change: passed"
