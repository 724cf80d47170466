#!/usr/bin/env bash
# End to end: the weather server misbehaves, the program shows the fallback texts and keeps
# running with bounded memory, and the next refreshes recover once the server does.
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

# A fetch that fails shows the fallback report; a page without a report is "not found".
metar_fallback=(frmStatus.lblMETARdatetime="PARSE ERROR"
  "frmMain.txtMETARstr=PARSEERROR 000000Z 00000KT SCT020 BKN050 5SM 15/10 A2992")
messages=(--message "Stratocue->PARSEERROR 000000Z 00000KT SCT020 BKN050 5SM 15/10 A2992")
if [[ $fault == nopage ]]; then
  metar_fallback=(frmStatus.lblMETARdatetime=UNAVAIL frmStatus.lblMETARalt=1013)
  messages=()
fi
faulty=$(watch --timeout 240 "${metar_fallback[@]}" "frmMain.txtTESTFD=Download Timeout or Error" \
  frmMain.lblTEMPID=KSFO readings!^=Processing)

if [[ -n $wx_pid ]]; then stop_weather; fi
start_weather
recovered=$(watch --after "$faulty" --timeout 240 "frmMain.txtMETARstr^=KSFO 061756Z" \
  frmStatus.lblMETARdatetime=061756Z "frmMain.txtTESTFD^=SFO 3K:")
echo "fallback texts at tick $faulty, recovered at tick $recovered"
end_program

python3 "$e2e_root/tests/e2e/check_fault_run.py" "$ticks" --resources "$resources" --rss-growth-kb 16384 \
  --sim-log "$sim_log" "${messages[@]}" --message "Stratocue->KSFO 061756Z"
