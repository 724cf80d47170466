#!/usr/bin/env bash
# End to end on Windows, under Wine: standin-wx serves a report and the winds-aloft
# bulletins on the Linux side, standin-sim.exe holds the aircraft at San Francisco and then
# climbs, and the headless stratocue.exe follows, fetching through WinINet. The simulator's
# write log must show the same weather as on Linux (check_write_log.py); then Ctrl+C ends
# the program through End Program, with status 0.
#
#     windows_metar_and_winds_path.sh WINDOWS_BUILD ROOT [MODE]
#
# MODE: classic (default) - servers.txt names the stand-in for the classic pages, as the
#                           Linux metar_and_winds_path.sh does;
#       today             - only vatsim_api and awc_api, at the stand-in: today's services.
# STRATOCUE_STANDIN_WX names the Linux weather server (default build/default/bin/standin-wx);
# without one the script exits with 77, which ctest reports as skipped.
# Uses the Wine prefix in WINEPREFIX (scripts/test-windows makes one); without it, makes a
# prefix of its own and removes it at the end.
set -euo pipefail
mode=${3:-classic}
bound=${STRATOCUE_E2E_SECONDS:-120}
# shellcheck source=windows_e2e_run.sh
source "$(dirname "$0")/windows_e2e_run.sh" "$1" "$2"

case $mode in
  classic)
    "$root/scripts/lib/write-servers-txt" --crlf "$work/servers.txt" "$weather" classic
    asked='^/cgi-bin/mgetmetar\.pl\?cccc=KSFO$|^/fdwinds/text/[a-z]+_fd1\.shtml$' ;;
  today)
    "$root/scripts/lib/write-servers-txt" --crlf "$work/servers.txt" "$weather" today
    asked='^/api/data/metar\?ids=KSFO&format=raw&hours=3$|^/api/data/windtemp\?region=[a-z]+&level=low&fcst=06$' ;;
  *) fail "unknown mode '$mode' (classic or today)" ;;
esac
cat >"$work/flight.txt" <<FLIGHT
# on the ground at San Francisco, then a climb to 3000 m
0 37.6167 -122.3667 2
3 37.6167 -122.3667 2
6 37.6167 -122.3667 3000
FLIGHT

start_standin_sim_exe "$work" "$build/bin/standin-sim.exe" --flight flight.txt --clock 12:00:00 --log simulator.log ||
  fail "standin-sim.exe did not start"

start_program_exe

check() { python3 "$root/tests/e2e/check_write_log.py" "$work/simulator.log" "$work/ticks.jsonl"; }
wait_while_running_until check

end_program_exe

stop_process "$sim_pid" INT
check || fail "the simulator did not get the weather (servers.txt: $mode)"

# The stand-in logs "standin-wx: GET TARGET -> STATUS (N bytes)" for every request.
targets=$(sed -n 's/^standin-wx: GET \([^ ]*\) -> .*/\1/p' "$work/wx.err")
others=$(grep -Ev "$asked" <<<"$targets" || true)
[[ -n $targets && -z $others ]] || fail "addresses outside the $mode sources were asked: $others"
echo "windows end to end ($mode): passed, $(wc -l <<<"$targets") requests through WinINet"
