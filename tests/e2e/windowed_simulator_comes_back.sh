#!/usr/bin/env bash
# End to end, windowed: the program with its windows on a private X display (Xvfb), its event
# loop pinged every 100 ms from a second process (x11_window_probe.py, _NET_WM_PING), while
# the stand-in simulator is killed and started again 20 s later, then stopped (SIGSTOP) for
# HANG_SECONDS (30 by default) and continued. The main window must answer within 250 ms
# while the simulator is gone, take more than 2.5 s at most once per hang, and SIGTERM must
# end the program through End Program with status 0. Prints the longest answers.
#     windowed_simulator_comes_back.sh BUILD_DIR SOURCE_DIR [HANG_SECONDS]
# Exits with 77 (skipped) without Xvfb or python3-xlib.
set -euo pipefail
source "$(dirname "$0")/e2e_run.sh" "$1" "$2"
hang_seconds=${3:-30}
probe=$work/probe.out

# Debian's python3-xlib is in Debian's own interpreter, which may not be the first python3.
probe_python=python3
python3 -c "import Xlib" 2>/dev/null || probe_python=/usr/bin/python3
"$probe_python" -c "import Xlib" 2>/dev/null || { echo "SKIPPED: no python3-xlib" >&2; exit 77; }
command -v Xvfb >/dev/null || { echo "SKIPPED: no Xvfb" >&2; exit 77; }

# A display of its own: Xvfb picks a free number and writes it out.
start_process "$work/xvfb.out" "$work/xvfb.err" Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp
display_number=$(wait_for_line "$work/xvfb.out" '^[0-9]' 30 "$started_pid") || fail "Xvfb did not start"
export DISPLAY=:$display_number QT_QPA_PLATFORM=xcb
# In the sanitizer build, leaks that the X platform's system libraries keep are not the
# program's own.
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$e2e_root/tests/e2e/lsan-system-libraries.supp

start_weather
start_simulator
start_process --in "$work" "$work/windowed.out" "$work/windowed.err" "$e2e_build/bin/stratocue"
program_pid=$started_pid
start_process "$probe" "$work/probe.err" "$probe_python" "$e2e_root/tests/e2e/x11_window_probe.py" --seconds 600
probe_pid=$started_pid
simulator_kill() { kill_simulator KILL; }
simulator_start_again() {
  start_simulator
  wait_for_message "$work/simulator.part.log" "Stratocue->KSFO"
}
simulator_signal() { kill "-$1" "$sim_pid"; }
probe_while_simulator_goes_and_hangs "$hang_seconds"

# SIGTERM ends the windowed program through End Program; the probe ends with its window.
ended_at=$(now)
end_program TERM
wait_for_probe_end "$probe_pid" "$ended_at"
echo "windowed simulator comes back: passed"
