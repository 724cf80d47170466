# shellcheck shell=bash
# Starting the stand-ins and the program in the background, and stopping them again: every
# process started here is stopped when the script exits, the last started first, and then
# the exit steps run, the last added first. Sourced after "set -euo pipefail"; it sets the
# EXIT trap.
#
# start_process [--in DIR] OUT ERR COMMAND...
#   Runs COMMAND in the background (in DIR when given), its output into the files OUT and
#   ERR (both into one when they are the same); its process id is in started_pid.
# start_standin_wx EXECUTABLE STEM [standin-wx options...]
#   The weather server, output into STEM.out and STEM.err; sets wx_pid and wx_address
#   (http://127.0.0.1:PORT) once it listens.
# start_standin_sim EXECUTABLE STEM [standin-sim options...]
#   The Linux stand-in simulator; sets sim_pid once it listens.
# start_standin_sim_exe DIR EXECUTABLE [standin-sim.exe options...]
#   The Windows stand-in simulator under Wine (scripts/wine-run), run in DIR with its
#   output into DIR/sim.out and DIR/sim.err; sets sim_pid once it serves its window class.
# stop_process PID [SIGNAL]   sends SIGNAL (TERM by default) and waits for the process
# forget_process PID          for a process the script has waited for itself
# at_exit COMMAND...          adds an exit step (removing a folder, a Wine prefix)
# stop_started_processes      stops every process still running, the last started first

standins_lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wait_for_line.sh
source "$standins_lib/wait_for_line.sh"

started_pids=()
exit_steps=()
# shellcheck disable=SC2034  # set here for the scripts that source this file
started_pid="" wx_pid="" wx_address="" sim_pid=""

start_process() {
  local folder=.
  if [[ $1 == --in ]]; then
    folder=$2
    shift 2
  fi
  local out=$1 err=$2
  shift 2
  if [[ $out == "$err" ]]; then
    (cd "$folder" && exec "$@" >"$out" 2>&1) &
  else
    (cd "$folder" && exec "$@" >"$out" 2>"$err") &
  fi
  started_pid=$!
  started_pids+=("$started_pid")
}

forget_process() {
  local kept=() pid
  for pid in "${started_pids[@]}"; do [[ $pid == "$1" ]] || kept+=("$pid"); done
  started_pids=("${kept[@]}")
}

stop_process() {
  kill "-${2:-TERM}" "$1" 2>/dev/null || true
  { wait "$1"; } 2>/dev/null || true
  forget_process "$1"
}

at_exit() { exit_steps+=("$(printf '%q ' "$@")"); }

stop_started_processes() {
  local i
  for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do
    kill -TERM "${started_pids[i]}" 2>/dev/null || true
    { wait "${started_pids[i]}"; } 2>/dev/null || true
  done
  started_pids=()
}

# shellcheck disable=SC2317  # run by the EXIT trap
run_exit_steps() {
  stop_started_processes
  local i
  for ((i = ${#exit_steps[@]} - 1; i >= 0; i--)); do eval "${exit_steps[i]}" || true; done
  exit_steps=()
}
trap run_exit_steps EXIT

start_standin_wx() {
  local executable=$1 stem=$2
  shift 2
  start_process "$stem.out" "$stem.err" "$executable" "$@"
  wx_pid=$started_pid
  # shellcheck disable=SC2034  # for the scripts that source this file
  wx_address=$(wait_for_listening "$stem.out") || return 1
}

start_standin_sim() {
  local executable=$1 stem=$2
  shift 2
  start_process "$stem.out" "$stem.err" "$executable" "$@"
  sim_pid=$started_pid
  wait_for_listening "$stem.out" >/dev/null
}

start_standin_sim_exe() {
  local folder=$1 executable=$2
  shift 2
  start_process --in "$folder" "$folder/sim.out" "$folder/sim.err" "$standins_lib/../wine-run" "$executable" "$@"
  sim_pid=$started_pid
  wait_for_line "$folder/sim.out" "serving window class" 60 "$sim_pid" >/dev/null
}
