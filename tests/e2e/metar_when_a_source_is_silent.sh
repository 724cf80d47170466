#!/usr/bin/env bash
# End to end: the weather written always comes from a real report.
#     metar_when_a_source_is_silent.sh BUILD_DIR SOURCE_DIR CASE
# CASE: silent     - the aircraft at San Carlos (KSQL), which has no report; KSFO, 9 miles
#                    away, has one: KSFO's report goes in, KSQL stays the chosen station.
#       dataapi500 - the data API answers 500, the VATSIM service answers: KSFO's report
#                    comes from VATSIM.
#       allfail    - KSFO's report went in, then every service fails while the aircraft
#                    flies on to Oakland: nothing more is written, the main window says why.
# The write log never shows the fallback report, "Downloading...", or 1013 hPa.
set -euo pipefail
source "$(dirname "$0")/e2e_run.sh" "$1" "$2"
case_name=$3

start_weather
today() { "$e2e_root/scripts/lib/write-servers-txt" "$work/servers.txt" "http://127.0.0.1:$wx_port" today; }
case $case_name in
  silent)
    today
    printf '0 37.5167 -122.2500 1000\n' >"$work/flight.txt"
    start_simulator
    start_program 500
    watch --timeout 120 frmMain.lblTEMPID=KSQL "frmMain.txtMETARstr^=KSFO 061756Z" >/dev/null
    expected="Stratocue->KSFO 061756Z" ;;
  dataapi500)
    stop_weather
    start_weather --fault awc_api=500
    today
    start_simulator
    start_program 500
    watch --timeout 120 frmMain.lblTEMPID=KSFO "frmMain.txtMETARstr^=KSFO 061756Z" >/dev/null
    grep -q "GET /KSFO -> 200" "$work/wx.err" || fail "the VATSIM service was not asked"
    expected="Stratocue->KSFO 061756Z" ;;
  allfail)
    today
    printf '0 37.6167 -122.3667 1000\n40 37.6167 -122.3667 1000\n70 37.7167 -122.2333 1000\n' >"$work/flight.txt"
    start_simulator
    start_program 500
    applied=$(watch --timeout 60 "frmMain.txtMETARstr^=KSFO 061756Z")
    stop_weather
    start_weather --fault status=500
    watch --after "$applied" --timeout 180 frmMain.lblTEMPID=KOAK "frmMain.txtMETARstr^=METAR download failed: " \
      frmStatus.lblMETARdatetime="PARSE ERROR" >/dev/null
    expected="Stratocue->KSFO 061756Z" ;;
  *) fail "unknown case '$case_name' (silent, dataapi500 or allfail)" ;;
esac
end_program

python3 "$e2e_root/tests/e2e/check_fault_run.py" "$ticks" --sim-log "$sim_log" --message "$expected" \
  --no-message "Stratocue->PARSEERROR" --no-message "Stratocue->Downloading" --no-message "Stratocue->METAR" \
  --no-message "Stratocue->No current" --no-message "Stratocue->KOAK" --never-written 0x0F48=16208
