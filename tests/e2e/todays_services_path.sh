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

start_weather
weather=http://127.0.0.1:$wx_port
case $mode in
  today)
    "$e2e_root/scripts/lib/write-servers-txt" "$work/servers.txt" "$weather" today
    asked='^/api/data/metar\?ids=KSFO&format=raw&hours=3$|^/api/data/windtemp\?region=[a-z]+&level=low&fcst=06$'
    metar_asked='^/api/data/metar\?' winds_asked='^/api/data/windtemp\?region=alaska&' ;;
  classic)
    "$e2e_root/scripts/lib/write-servers-txt" "$work/servers.txt" "$weather" today classic
    asked='^/cgi-bin/mgetmetar\.pl\?cccc=KSFO$|^/fdwinds/text/[a-z]+_fd1\.shtml$'
    metar_asked='^/cgi-bin/mgetmetar\.pl\?' winds_asked='^/fdwinds/text/alaska_fd1\.shtml$' ;;
  *) fail "unknown mode '$mode' (today or classic)" ;;
esac

climb_until_weather_written "servers.txt: $mode"

# The stand-in logs "standin-wx: GET TARGET -> STATUS (N bytes)" for every request.
targets=$(sed -n 's/^standin-wx: GET \([^ ]*\) -> .*/\1/p' "$work/wx.err")
grep -Eq "$metar_asked" <<<"$targets" || fail "no METAR request in the stand-in's log: $targets"
grep -Eq "$winds_asked" <<<"$targets" || fail "no request of the last winds-aloft region: $targets"
others=$(grep -Ev "$asked" <<<"$targets" || true)
[[ -z $others ]] || fail "addresses outside the $mode sources were asked: $others"
echo "servers.txt ($mode): $(wc -l <<<"$targets") requests, all of the expected sources"
