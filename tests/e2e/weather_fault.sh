#!/usr/bin/env bash
# End to end: the weather server misbehaves, the program says so, writes nothing into the
# simulator and keeps running with bounded memory, and the next refreshes recover once the
# server does.
#     weather_fault.sh BUILD_DIR SOURCE_DIR FAULT
# FAULT: status=500 | slow=45000 (past the 30 s time-out) | endless (a body without end) |
#        nopage (bytes that are no page at all) | refused (the port is closed)
set -euo pipefail
source "$(dirname "$0")/e2e_run.sh" "$1" "$2"
fault=$3

# The server's port is learnt from a healthy start, then the faulty server takes it over.
start_weather
stop_weather
if [[ $fault != refused ]]; then start_weather --fault "$fault"; fi
start_simulator
start_program 100

# Both METAR services fail (or, with pages that are no pages, find no report at KSFO or
# around it): the main window says so and nothing is written.
metar_fallback=(frmStatus.lblMETARdatetime="PARSE ERROR" "frmMain.txtMETARstr^=METAR download failed: ")
if [[ $fault == nopage ]]; then
  metar_fallback=(frmStatus.lblMETARdatetime=UNAVAIL "frmMain.txtMETARstr=No current report within 50 nm of KSFO")
fi
faulty=$(watch --timeout 240 "${metar_fallback[@]}" "frmMain.txtTESTFD=Download Timeout or Error" \
  frmMain.lblTEMPID=KSFO readings!^=Processing)

if [[ -n $wx_pid ]]; then stop_weather; fi
start_weather
recovered=$(watch --after "$faulty" --timeout 240 "frmMain.txtMETARstr^=KSFO 061756Z" \
  frmStatus.lblMETARdatetime=061756Z "frmMain.txtTESTFD^=SFO 3K:")
echo "fallback texts at tick $faulty, recovered at tick $recovered"
end_program

# Nothing invented: no fallback report, no "Downloading...", no 1013 hPa of a missing report.
python3 "$e2e_root/tests/e2e/check_fault_run.py" "$ticks" --resources "$resources" --rss-growth-kb 16384 \
  --sim-log "$sim_log" --message "Stratocue->KSFO 061756Z" --no-message "Stratocue->PARSEERROR" \
  --no-message "Stratocue->Downloading" --no-message "Stratocue->METAR" --no-message "Stratocue->No current" \
  --never-written 0x0F48=16208
