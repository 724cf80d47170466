#!/usr/bin/env bash
# End to end on Windows, under Wine: the weather written always comes from a real report.
# standin-sim.exe holds the aircraft, the Linux standin-wx serves today's services, and the
# headless stratocue.exe follows through WinINet.
#     windows_metar_when_a_source_is_silent.sh WINDOWS_BUILD ROOT CASE
# CASE: silent     - the aircraft at San Carlos (KSQL), which has no report; KSFO, 9 miles
#                    away, has one: KSFO's report goes in, KSQL stays the chosen station.
#       dataapi500 - the data API answers 500, the VATSIM service answers: KSFO's report
#                    comes from VATSIM.
# The write log never shows the fallback report, "Downloading...", or 1013 hPa.
set -euo pipefail
case_name=$3
bound=${STRATOCUE_E2E_SECONDS:-120}
# shellcheck source=windows_e2e_run.sh
source "$(dirname "$0")/windows_e2e_run.sh" "$1" "$2"

case $case_name in
  silent)
    position='37.5167 -122.2500' station=KSQL ;;
  dataapi500)
    position='37.6167 -122.3667' station=KSFO
    stop_process "$wx_pid"
    start_standin_wx "$standin_wx" "$work/wx" --data "$work/weather" --port 0 --fault awc_api=500 ||
      fail "the weather server did not start" ;;
  *) fail "unknown case '$case_name' (silent or dataapi500)" ;;
esac
"$root/scripts/lib/write-servers-txt" --crlf "$work/servers.txt" "$wx_address" today
printf '0 %s 1000\n' "$position" >"$work/flight.txt"

start_standin_sim_exe "$work" "$build/bin/standin-sim.exe" --flight flight.txt --clock 12:00:00 --log simulator.log ||
  fail "standin-sim.exe did not start"
start_program_exe

applied() {
  python3 - "$work/ticks.jsonl" "$station" <<'PY'
import json, sys
for line in open(sys.argv[1], encoding="utf-8", errors="replace"):
    try:
        main = json.loads(line)["frmMain"]
    except (ValueError, KeyError):
        continue
    if main.get("lblTEMPID") == sys.argv[2] and main.get("txtMETARstr", "").startswith("KSFO 061756Z"):
        sys.exit(0)
sys.exit(1)
PY
}
applied_and_shown() { applied && grep -q "Stratocue->KSFO 061756Z" "$work/simulator.log"; }
wait_while_running_until applied_and_shown

end_program_exe
stop_process "$sim_pid" INT

applied || fail "KSFO's report never went in with $station the chosen station"
if [[ $case_name == dataapi500 ]]; then
  grep -q "GET /KSFO -> 200" "$work/wx.err" || fail "the VATSIM service was not asked"
fi
python3 "$root/tests/e2e/check_fault_run.py" "$work/ticks.jsonl" --sim-log "$work/simulator.log" \
  --message "Stratocue->KSFO 061756Z" --no-message "Stratocue->PARSEERROR" --no-message "Stratocue->Downloading" \
  --no-message "Stratocue->METAR" --no-message "Stratocue->No current" --never-written 0x0F48=16208 ||
  fail "the write log shows weather nobody reported"
echo "windows end to end, real reports only ($case_name): passed"
