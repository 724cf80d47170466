#!/usr/bin/env bash
# End to end on Windows, under Wine, outside FD coverage: standin-sim.exe holds the aircraft
# over the Netherlands at one altitude, the Linux standin-wx serves the forecast model's
# winds (servers.txt "open_meteo"), and the headless stratocue.exe follows, fetching through
# WinINet. The write log must show the model's level for the altitude with the values of the
# current hour (check_model_winds.py), and no bulletin may have been asked for; then Ctrl+C
# ends the program through End Program, with status 0.
#
#     windows_model_winds_path.sh WINDOWS_BUILD ROOT ALTITUDE_M HPA FEET
set -euo pipefail
altitude=$3 hpa=$4 feet=$5
bound=${STRATOCUE_E2E_SECONDS:-120}
# shellcheck source=windows_e2e_run.sh
source "$(dirname "$0")/windows_e2e_run.sh" "$1" "$2"

cp "$root/data/demo/weather/gfs.txt" "$work/weather/"
stop_process "$wx_pid"
start_standin_wx "$standin_wx" "$work/wx" --data "$work/weather" --port 0 || fail "the weather server did not start"
"$root/scripts/lib/write-servers-txt" --crlf "$work/servers.txt" "$wx_address" classic
printf 'open_meteo=%s\r\n' "$wx_address" >>"$work/servers.txt"
printf '0 52.3000 4.7700 %s\n' "$altitude" >"$work/flight.txt"

start_standin_sim_exe "$work" "$build/bin/standin-sim.exe" --flight flight.txt --clock 12:00:00 --log simulator.log ||
  fail "standin-sim.exe did not start"
start_program_exe

check() {
  python3 "$root/tests/e2e/check_model_winds.py" "$work/simulator.log" "$work/ticks.jsonl" "$work/weather/gfs.txt" \
    "$hpa" "$feet"
}
wait_while_running_until check

end_program_exe

stop_process "$sim_pid" INT
check || fail "the simulator did not get the model's $hpa hPa winds at $altitude m"

targets=$(sed -n 's/^standin-wx: GET \([^ ]*\) -> .*/\1/p' "$work/wx.err")
grep -q '^/v1/gfs?latitude=52.30&longitude=4.77&' <<<"$targets" || fail "no model request: $targets"
! grep -Eq '^/fdwinds/|^/api/data/windtemp' <<<"$targets" || fail "a bulletin was asked for: $targets"
echo "windows end to end, model winds at $altitude m: passed, $(grep -c '^/v1/gfs' <<<"$targets") model requests"
