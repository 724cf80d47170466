#!/usr/bin/env bash
# End to end outside FD coverage: standin-sim holds the aircraft over the Netherlands at
# one altitude, standin-wx serves the forecast model's winds (servers.txt "open_meteo"), and
# the headless program follows. The write log must show the model's level for the altitude
# with the values of the current hour, and the stand-in must have had no bulletin request.
#     model_winds_path.sh BUILD_DIR SOURCE_DIR ALTITUDE_M HPA FEET
set -euo pipefail
source "$(dirname "$0")/e2e_run.sh" "$1" "$2"
altitude=$3 hpa=$4 feet=$5

cp "$e2e_root/data/demo/weather/gfs.txt" "$work/weather/"
start_weather
printf 'open_meteo=http://127.0.0.1:%s\n' "$wx_port" >>"$work/servers.txt"
printf '0 52.3000 4.7700 %s\n' "$altitude" >"$work/flight.txt"
start_simulator
start_program 500

check() {
  python3 "$e2e_root/tests/e2e/check_model_winds.py" "$1" "$ticks" "$work/weather/gfs.txt" "$hpa" "$feet"
}
deadline=$((SECONDS + ${STRATOCUE_E2E_SECONDS:-120}))
until check "$work/simulator.part.log" >/dev/null 2>&1; do
  if ((SECONDS >= deadline)) || ! running "$program_pid"; then break; fi
  sleep 0.5
done
end_program
check "$sim_log" || fail "the simulator did not get the model's $hpa hPa winds at $altitude m"

targets=$(sed -n 's/^standin-wx: GET \([^ ]*\) -> .*/\1/p' "$work/wx.err")
grep -q '^/v1/gfs?latitude=52.30&longitude=4.77&' <<<"$targets" || fail "no model request: $targets"
! grep -Eq '^/fdwinds/|^/api/data/windtemp' <<<"$targets" || fail "a bulletin was asked for: $targets"
echo "model winds at $altitude m: $(grep -c '^/v1/gfs' <<<"$targets") model requests, no bulletin request"
