# What the end-to-end scripts share (sourced; they set `work`, their own work folder):
#   fail MESSAGE                 names the failure, shows the tails of the run's logs, exits 1
#   wait_for_message LOG PREFIX  waits (60 s at most) until the simulator's write log LOG
#                                holds an on-screen message starting with PREFIX
#   now                          seconds since the epoch, as tick_times.py notes them
#   running PID                  true while the process runs
#   at_most VALUE BOUND WHAT     fails, naming WHAT, unless VALUE <= BOUND (seconds)
#   wait_until SECONDS           sleeps until that time (seconds since the epoch, as `now`)
#   wait_for_a_held_tick, seconds_until_ended, end_within: below
#   wait_for_caption, probe_stats: the windowed program's probe lines, below

fail() {
  echo "FAILED: $*" >&2
  for file in "$work"/*.err "$work"/*.out; do
    [[ -s $file ]] && { echo "--- $(basename "$file")" >&2; tail -n 20 "$file" >&2; }
  done
  exit 1
}

wait_for_message() {
  local deadline=$((SECONDS + 60))
  until grep -qF "\"message\":\"$2" "$1" 2>/dev/null; do
    ((SECONDS < deadline)) || fail "the simulator never showed a message starting $2"
    sleep 0.1
  done
}

now() { date +%s.%N; }

wait_until() { while python3 -c "import sys, time; sys.exit(0 if time.time() < $1 else 1)"; do sleep 0.2; done; }

at_most() { python3 -c "import sys; sys.exit(0 if float('$1') <= float('$2') else 1)" || fail "$3: $1 s (bound $2 s)"; }

# running PID: true while the process runs (one that ended and awaits its parent does not).
running() {
  local state
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1) || return 1
  [[ -n $state && $state != Z ]]
}

# wait_for_a_held_tick TIMES SECONDS: waits (30 s at most) until no tick line has come for
# SECONDS, so a tick is held, as tick_times.py notes them in TIMES
wait_for_a_held_tick() {
  local deadline=$((SECONDS + 30))
  until python3 -c "import os, sys, time; sys.exit(0 if time.time() - os.path.getmtime('$1') > $2 else 1)"; do
    ((SECONDS < deadline)) || fail "no tick was ever held for $2 s"
    sleep 0.05
  done
}

# seconds_until_ended PID SINCE: waits (30 s at most) for PID to end; prints the seconds
# from SINCE (as `now` gives it) to its end
seconds_until_ended() {
  local deadline=$((SECONDS + 30))
  while running "$1" && ((SECONDS < deadline)); do sleep 0.05; done
  python3 -c "import time; print(f'{time.time() - $2:.2f}')"
}

# end_within SECONDS SIGNAL WHAT: sends SIGNAL to the program (program_pid), which must end
# by itself within SECONDS with status 0; WHAT names the case in the line printed.
end_within() {
  local pid=$program_pid signalled_at ended_in status=0
  signalled_at=$(now)
  kill "-$2" "$pid"
  ended_in=$(seconds_until_ended "$pid" "$signalled_at")
  wait "$pid" || status=$?
  program_pid=""
  echo "$3: ended after ${ended_in} s with status $status"
  ((status == 0)) || fail "the program ended with status $status"
  at_most "$ended_in" "$1" "the program took too long to end"
}

# The window probes (window-probe.exe, x11_window_probe.py) write one line per probe of the
# windowed program's main window into the file named by `probe`:
#     SECONDS ROUND_TRIP_MS [timeout] CAPTION

# wait_for_caption AFTER PREFIX: waits (60 s at most) for a probe sent after AFTER that saw
# the main window's caption start with PREFIX; prints the time it was sent
wait_for_caption() {
  local deadline=$((SECONDS + 60)) seen
  until seen=$(awk -v after="$1" -v prefix="$2" '$1 >= after {
      caption = $0; sub(/^[^ ]+ [^ ]+ (timeout )?/, "", caption)
      if (index(caption, prefix) == 1) { print $1; exit } }' "$probe" 2>/dev/null) && [[ -n $seen ]]; do
    ((SECONDS < deadline)) || fail "the main window's caption never started with \"$2\""
    running "$program_pid" || fail "the windowed program ended"
    sleep 0.1
  done
  echo "$seen"
}

# probe_stats FROM TO: of the probes sent within that span, the number, the longest round
# trip in seconds and the number that took more than 2.5 s
probe_stats() {
  awk -v from="$1" -v to="$2" '$1 >= from && $1 <= to { n++; if ($2 > longest) longest = $2; if ($2 > 2500) long++ }
    END { printf "%d %.3f %d\n", n, longest / 1000, long }' "$probe"
}

# probe_while_simulator_goes_and_hangs HANG_SECONDS: with the windowed program (program_pid)
# running and its probe writing into `probe`, kills the simulator and starts it again 20 s
# later, then stops it for HANG_SECONDS and continues it. The main window must answer every
# probe within 250 ms while the simulator is gone and take more than 2.5 s at most once in
# the hang. The script defines how its simulator is handled: simulator_kill,
# simulator_start_again (returns once the new one shows the METAR) and simulator_signal SIGNAL.
probe_while_simulator_goes_and_hangs() {
  local killed_at gone started_at stopped_at continued_at probes longest long_waits
  wait_for_caption 0 "Stratocue 2002 Active" >/dev/null
  wait_for_message "$work/simulator.part.log" "Stratocue->KSFO"
  killed_at=$(now)
  simulator_kill
  gone=$(wait_for_caption "$killed_at" "Stratocue 2002 Can't connect: ")
  wait_until "$killed_at + 20"
  started_at=$(now)
  simulator_start_again
  wait_for_caption "$gone" "Stratocue 2002 Active" >/dev/null
  read -r probes longest _ <<<"$(probe_stats "$killed_at" "$started_at")"
  echo "windowed, killed: $probes probes while gone, the longest answer took ${longest} s"
  ((probes >= 20)) || fail "only $probes probes reached the main window while the simulator was gone"
  at_most "$longest" 0.25 "the main window was slow to answer while the simulator was gone"

  stopped_at=$(now)
  simulator_signal STOP
  wait_until "$stopped_at + $1"
  continued_at=$(now)
  simulator_signal CONT
  wait_for_caption "$continued_at" "Stratocue 2002 Active" >/dev/null
  read -r probes longest long_waits <<<"$(probe_stats "$stopped_at" "$continued_at")"
  echo "windowed, stopped: $probes probes while stopped, the longest answer took ${longest} s," \
    "$long_waits took more than 2.5 s"
  ((probes >= 10)) || fail "only $probes probes reached the main window while the simulator was stopped"
  ((long_waits <= 1)) || fail "the main window took more than 2.5 s to answer $long_waits times during one hang"
}

# wait_for_probe_end PID SINCE: the probe PID must end by itself (30 s at most from SINCE)
# once the program's main window is gone
wait_for_probe_end() {
  seconds_until_ended "$1" "$2" >/dev/null
  if running "$1"; then fail "the main window was still there after the program ended"; fi
  wait "$1" || true
  forget_process "$1"
}
