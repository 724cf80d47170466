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
build=$(cd "$1" && pwd)
root=$(cd "$2" && pwd)
mode=${3:-classic}
bound=${STRATOCUE_E2E_SECONDS:-120}
standin_wx=${STRATOCUE_STANDIN_WX:-$root/build/default/bin/standin-wx}
# Without the Linux build's weather server the check cannot run: skipped (ctest shows it).
[[ -x $standin_wx ]] || { echo "SKIPPED: no weather server $standin_wx (build the Linux standin-wx)" >&2; exit 77; }

# shellcheck source=../../scripts/lib/wine-prefix.sh
source "$root/scripts/lib/wine-prefix.sh"
# shellcheck source=../../scripts/lib/standins.sh
source "$root/scripts/lib/standins.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/stratocue-e2e-windows.XXXXXX")
program_pid=""
at_exit rm -rf "$work"

fail() {
  echo "FAILED: $*" >&2
  for file in "$work"/*.err "$work"/*.out; do
    [[ -s $file ]] && { echo "--- $(basename "$file")" >&2; tail -n 20 "$file" >&2; }
  done
  exit 1
}

if [[ -z "${WINEPREFIX:-}" || ! -d "${WINEPREFIX}" ]]; then
  at_exit wine_prefix_remove
  wine_prefix_create
fi
# WinINet would take a proxy from these; the stand-in is on the loopback interface.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY

mkdir -p "$work/weather/fd"
cp "$root/data/demo/weather/fd/"* "$work/weather/fd/"
cp "$root/tests/data/e2e/metars.txt" "$work/weather/"
start_standin_wx "$standin_wx" "$work/wx" --data "$work/weather" --port 0 || fail "the weather server did not start"
weather=$wx_address

# The Windows programs run in the work folder and find their files there by name.
cp "$root/data/icao.txt" "$root/data/fdwinds.txt" "$work/"
case $mode in
  classic)
    "$root/scripts/lib/write-servers-txt" --crlf "$work/servers.txt" "$weather" classic
    asked='^/cgi-bin/mgetmetar\.pl\?cccc=KSFO$|^/fdwinds/text/[a-z]+_fd1\.shtml$' ;;
  today)
    "$root/scripts/lib/write-servers-txt" --crlf "$work/servers.txt" "$weather" today
    asked='^/api/data/metar\?ids=KSFO&format=raw$|^/api/data/windtemp\?region=[a-z]+&level=low&fcst=06$' ;;
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

start_process --in "$work" "$work/ticks.jsonl" "$work/stratocue.err" \
  "$root/scripts/wine-run" "$build/bin/stratocue.exe" --headless --tick-ms 500
program_pid=$started_pid

check() { python3 "$root/tests/e2e/check_write_log.py" "$work/simulator.log" "$work/ticks.jsonl"; }
deadline=$((SECONDS + bound))
until check >/dev/null 2>&1; do
  if ((SECONDS >= deadline)) || ! kill -0 "$program_pid" 2>/dev/null; then break; fi
  sleep 0.5
done

# Ctrl+C, as the user's signal: Wine hands it to the program as a console event, and the
# program must end through End Program by itself, with status 0, within a minute.
kill -INT "$program_pid" 2>/dev/null || true
deadline=$((SECONDS + 60))
while kill -0 "$program_pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "stratocue.exe did not end within 60 s of Ctrl+C"
status=0
wait "$program_pid" || status=$?
forget_process "$program_pid"
program_pid=""
((status == 0)) || fail "stratocue.exe ended with status $status"

stop_process "$sim_pid" INT
check || fail "the simulator did not get the weather (servers.txt: $mode)"

# The stand-in logs "standin-wx: GET TARGET -> STATUS (N bytes)" for every request.
targets=$(sed -n 's/^standin-wx: GET \([^ ]*\) -> .*/\1/p' "$work/wx.err")
others=$(grep -Ev "$asked" <<<"$targets" || true)
[[ -n $targets && -z $others ]] || fail "addresses outside the $mode sources were asked: $others"
echo "windows end to end ($mode): passed, $(wc -l <<<"$targets") requests through WinINet"
