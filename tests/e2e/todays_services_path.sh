#!/usr/bin/env bash
# End to end with today's weather services as standin-wx answers them: standin-sim holds
# the aircraft at San Francisco and then climbs, the headless program follows, and the
# simulator's write log must show the same weather as with the classic pages
# (check_write_log.py). The stand-in's request log shows which addresses were asked.
#     todays_services_path.sh BUILD_DIR SOURCE_DIR MODE
# MODE: today   - servers.txt has only vatsim_api and awc_api, both at the stand-in: only
#                 the data API's METAR and winds-aloft addresses may be asked.
#       classic - the classic keys beside vatsim_api and awc_api, all at the stand-in: the
#                 classic keys win, so only the classic pages may be asked.
set -euo pipefail
source "$(dirname "$0")/e2e_run.sh" "$1" "$2"
mode=$3
bound=${STRATOCUE_E2E_SECONDS:-120}

start_weather
weather=http://127.0.0.1:$wx_port
case $mode in
  today)
    printf 'vatsim_api=%s\nawc_api=%s\n' "$weather" "$weather" >"$work/servers.txt"
    asked='^/api/data/metar\?ids=KSFO&format=raw$|^/api/data/windtemp\?region=[a-z]+&level=low&fcst=06$'
    metar_asked='^/api/data/metar\?' winds_asked='^/api/data/windtemp\?region=alaska&' ;;
  classic)
    printf 'vatsim_api=%s\nawc_api=%s\nmetar_nws=%s\nmetar_vatsim=%s\nfdwinds=%s\n' \
      "$weather" "$weather" "$weather" "$weather" "$weather" >"$work/servers.txt"
    asked='^/cgi-bin/mgetmetar\.pl\?cccc=KSFO$|^/fdwinds/text/[a-z]+_fd1\.shtml$'
    metar_asked='^/cgi-bin/mgetmetar\.pl\?' winds_asked='^/fdwinds/text/alaska_fd1\.shtml$' ;;
  *) fail "unknown mode '$mode' (today or classic)" ;;
esac

cat >"$work/flight.txt" <<FLIGHT
# on the ground at San Francisco, then a climb to 3000 m
0 37.6167 -122.3667 2
3 37.6167 -122.3667 2
6 37.6167 -122.3667 3000
FLIGHT
start_simulator
start_program 500

check() { python3 "$e2e_root/tests/e2e/check_write_log.py" "$1" "$ticks"; }
deadline=$((SECONDS + bound))
until check "$work/simulator.part.log" >/dev/null 2>&1; do
  if ((SECONDS >= deadline)) || ! running "$program_pid"; then break; fi
  sleep 0.5
done
end_program
check "$sim_log" || fail "the simulator did not get the weather (servers.txt: $mode)"

# The stand-in logs "standin-wx: GET TARGET -> STATUS (N bytes)" for every request.
targets=$(sed -n 's/^standin-wx: GET \([^ ]*\) -> .*/\1/p' "$work/wx.err")
grep -Eq "$metar_asked" <<<"$targets" || fail "no METAR request in the stand-in's log: $targets"
grep -Eq "$winds_asked" <<<"$targets" || fail "no request of the last winds-aloft region: $targets"
others=$(grep -Ev "$asked" <<<"$targets" || true)
[[ -z $others ]] || fail "addresses outside the $mode sources were asked: $others"
echo "servers.txt ($mode): $(wc -l <<<"$targets") requests, all of the expected sources"
