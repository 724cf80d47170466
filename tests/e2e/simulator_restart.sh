#!/usr/bin/env bash
# End to end: the stand-in simulator is killed in the middle of a run and started again.
# While it is gone every reading of a tick shows "Processing: " and the link's result text;
# once it is back the readings show values again; no tick is lost, nothing crashes, and
# SIGHUP (the terminal closed) still ends the program through End Program, which closes the link.
#     simulator_restart.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
source "$(dirname "$0")/e2e_run.sh" "$1" "$2"

start_weather
start_simulator
start_program 200

before=$(watch --timeout 60 frmStatus.lblFSlat=0.656535 frmMain.lblTEMPID=KSFO readings!^=Processing)
kill_simulator KILL
gone=$(watch --after "$before" --timeout 180 "readings=Processing: IPC sendmessage failed all retries")
start_simulator
back=$(watch --after "$gone" --timeout 180 frmStatus.lblFSlat=0.656535 frmMain.lblTEMPID=KSFO \
  readings!^=Processing readings!^=Reading)
echo "readings shown at tick $before, all failing at tick $gone, shown again at tick $back"
end_program HUP

python3 "$e2e_root/tests/e2e/check_fault_run.py" "$ticks" --resources "$resources" --rss-growth-kb 16384
