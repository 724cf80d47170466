#!/usr/bin/env bash
# End to end on Windows, under Wine: standin-sim.exe is killed and started again 20 s later,
# then stopped for HANG_SECONDS (30 by default) and continued, then stopped again while
# stratocue.exe gets Ctrl+C. The program must show "Processing: " and "Can't connect: "
# while the simulator is gone, find the new window again, put the KSFO report in hand into
# the new stand-in first, in the tick that opens the link again (the weather server has a
# newer report by then, which only a refresh could bring), never a fallback, keep ticking while the simulator hangs (at most one tick held back by
# more than 2.5 s per hang), and end through End Program within 5 s with status 0.
# Then the same for the windowed program, probed from a second process (window-probe.exe)
# every 100 ms: its main window must answer within 250 ms while the simulator is gone, take
# more than 2.5 s at most once per hang, and the program must end with status 0 when its
# main window is closed.
#
#     windows_simulator_comes_back.sh WINDOWS_BUILD ROOT [HANG_SECONDS]
#
# STRATOCUE_STANDIN_WX names the Linux weather server (default build/default/bin/standin-wx);
# without one the script exits with 77 (skipped). Uses the Wine prefix in WINEPREFIX, or
# makes one of its own.
set -euo pipefail
hang_seconds=${3:-30}
# shellcheck source=windows_e2e_run.sh
source "$(dirname "$0")/windows_e2e_run.sh" "$1" "$2"
ticks=$work/ticks.jsonl
times=$work/tick_times.txt
# A stopped simulator is let go again before it is ended.
before_cleanup() { [[ -n $sim_pid ]] && kill -CONT "$(simulator_process)" 2>/dev/null; }
"$root/scripts/lib/write-servers-txt" --crlf "$work/servers.txt" "$weather" classic
printf '0 37.6167 -122.3667 1000\n' >"$work/flight.txt"

# The Windows process itself: the one child of the `timeout` that wine-run runs.
simulator_process() { pgrep -P "$sim_pid" | head -n 1; }
start_simulator() {
  start_standin_sim_exe "$work" "$build/bin/standin-sim.exe" --flight flight.txt --clock 12:00:00 \
    --log simulator.part.log || fail "standin-sim.exe did not start"
}
watch() {
  python3 "$root/tests/e2e/tick_watch.py" "$ticks" --pid "$program_pid" "$@" || fail "waited in vain for: $*"
}
gap() { python3 "$root/tests/e2e/tick_times.py" --gaps "$times" --from "$1" --to "$2"; }
kill_simulator() {
  kill -KILL "$(simulator_process)"
  wait "$sim_pid" 2>/dev/null || true
  forget_process "$sim_pid"
}

start_simulator
start_process --in "$work" "$ticks" "$work/stratocue.err" \
  "$root/scripts/wine-run" "$build/bin/stratocue.exe" --headless --tick-ms 500
program_pid=$started_pid
python3 "$root/tests/e2e/tick_times.py" "$ticks" --pid "$program_pid" --out "$times" &
first=$(watch --timeout 120 frmStatus.lblFSlat=0.656535 readings!^=Processing)
wait_for_message "$work/simulator.part.log" "Stratocue->KSFO"

# 1. killed, and started again 20 s later
killed_at=$(now)
kill_simulator
gone=$(watch --after "$first" --timeout 60 "readings=Processing: IPC sendmessage failed all retries" \
  "frmMain.caption^=Stratocue 2002 Can't connect: ")
# A newer KSFO report from now on, from the weather server started again on its port.
stop_process "$wx_pid"
sed -i 's/^KSFO .*/KSFO 061856Z 31005KT 10SM SKC 19\/08 A2981/' "$work/weather/metars.txt"
start_standin_wx "$standin_wx" "$work/wx" --data "$work/weather" --port "${weather##*:}" ||
  fail "the weather server did not start again"
wait_until "$killed_at + 20"
started_at=$(now)
mv "$work/simulator.part.log" "$work/simulator.first.log"
start_simulator
back=$(watch --after "$gone" --timeout 60 readings!^=Processing "frmMain.caption=Stratocue 2002 Active")
wait_for_message "$work/simulator.part.log" "Stratocue->KSFO"
# The window server starts slowly under Wine, so the reopen tick is told by the report
# following the link's opening write by less than a tick (0.5 s).
python3 "$root/tests/e2e/check_write_log.py" --weather-back "$work/simulator.part.log" - - 0.45 ||
  fail "the weather in hand did not go back in first"
killed_gap=$(gap "$killed_at" "$started_at")
echo "killed: failing at tick $gone, back at tick $back; largest gap between ticks while gone ${killed_gap} s"
# A tick is 0.5 s; the bound leaves room for a busy machine.
at_most "$killed_gap" 1.5 "a tick was held back while the simulator was gone"

# 2. stopped, then continued
stopped_at=$(now)
kill -STOP "$(simulator_process)"
stopped=$(watch --after "$back" --timeout 60 "readings=Processing: IPC timed out all retries")
wait_until "$stopped_at + $hang_seconds"
continued_at=$(now)
kill -CONT "$(simulator_process)"
recovered=$(watch --after "$stopped" --timeout 60 readings!^=Processing "frmMain.caption=Stratocue 2002 Active")
long_gaps=$(awk -v from="$stopped_at" -v to="$continued_at" \
  '$1 >= from && $1 <= to && seen && $1 - last > 3.0 { n++ } { last = $1; seen = 1 } END { print n + 0 }' "$times")
echo "stopped: failing at tick $stopped, back at tick $recovered; largest gap while stopped" \
  "$(gap "$stopped_at" "$continued_at") s, $long_gaps held back by more than 2.5 s"
((long_gaps <= 1)) || fail "$long_gaps ticks held back by more than 2.5 s while the simulator was stopped"

# 3. Ctrl+C while the simulator is stopped and a tick waits for its answer (no tick line
#    for over a second)
kill -STOP "$(simulator_process)"
wait_for_a_held_tick "$times" 1.2
end_within 5 INT "Ctrl+C while the simulator was stopped"
kill -CONT "$(simulator_process)"

# 4. The windowed program, its main window probed from a second process every 100 ms; each
#    probe line is "SECONDS ROUND_TRIP_MS [timeout] CAPTION".
probe=$work/probe.out
start_process --in "$work" "$work/windowed.out" "$work/windowed.err" "$root/scripts/wine-run" "$build/bin/stratocue.exe"
program_pid=$started_pid
start_process --in "$work" "$probe" "$work/probe.err" "$root/scripts/wine-run" "$build/bin/window-probe.exe" --seconds 600
probe_pid=$started_pid
simulator_kill() { kill_simulator; }
simulator_start_again() {
  mv "$work/simulator.part.log" "$work/simulator.second.log"
  start_simulator
  wait_for_message "$work/simulator.part.log" "Stratocue->KSFO"
}
simulator_signal() { kill "-$1" "$(simulator_process)"; }
probe_while_simulator_goes_and_hangs "$hang_seconds"

# Closing the main window, as its close box does, ends the program.
closed_at=$(now)
"$root/scripts/wine-run" "$build/bin/window-probe.exe" --close --seconds 30 || fail "could not close the main window"
ended_in=$(seconds_until_ended "$program_pid" "$closed_at")
status=0
wait "$program_pid" || status=$?
forget_process "$program_pid"
program_pid=""
echo "windowed: ended ${ended_in} s after its main window was closed, with status $status"
((status == 0)) || fail "the windowed program ended with status $status"
at_most "$ended_in" 10 "the windowed program took too long to end"
wait_for_probe_end "$probe_pid" "$closed_at"
echo "windows simulator comes back: passed"
