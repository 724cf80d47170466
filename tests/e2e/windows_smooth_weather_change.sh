#!/usr/bin/env bash
# End to end on Windows, under Wine: "Smooth weather changes" checked through stratocue.ini.
# standin-sim.exe holds the aircraft on the ground at San Francisco, then puts it down at
# Oakland; the two reports differ by 6 hPa, 20 knots and 90 degrees (through north). The
# write log must show the first weather written at once, then the new weather moving at the
# ramp's rates, the pressure reaching Oakland's in six minutes of ticks; End Program keeps
# the setting.
#     windows_smooth_weather_change.sh WINDOWS_BUILD ROOT
set -euo pipefail
bound=${STRATOCUE_E2E_SECONDS:-540}
# shellcheck source=windows_e2e_run.sh
source "$(dirname "$0")/windows_e2e_run.sh" "$1" "$2"

cp "$root/tests/data/e2e/smooth/metars.txt" "$work/weather/"
stop_process "$wx_pid"
start_standin_wx "$standin_wx" "$work/wx" --data "$work/weather" --port 0 || fail "the weather server did not start"
"$root/scripts/lib/write-servers-txt" --crlf "$work/servers.txt" "$wx_address" today
printf '# kept between runs\r\nchkSMOOTH=1\r\n' >"$work/stratocue.ini"
printf '0 37.6167 -122.3667 2\n20 37.6167 -122.3667 2\n21 37.7167 -122.2333 3\n' >"$work/flight.txt"

start_standin_sim_exe "$work" "$build/bin/standin-sim.exe" --flight flight.txt --clock 12:00:00 --log simulator.log ||
  fail "standin-sim.exe did not start"
start_program_exe
check() { python3 "$root/tests/e2e/check_ramp_log.py" "$work/simulator.log" "$work/ticks.jsonl"; }
wait_while_running_until check
end_program_exe
stop_process "$sim_pid" INT

check || fail "the weather did not move at the ramp's rates"
grep -q '^chkSMOOTH=1' "$work/stratocue.ini" || fail "End Program did not keep the setting: $(cat "$work/stratocue.ini")"
echo "windows end to end, smooth weather change: passed"
