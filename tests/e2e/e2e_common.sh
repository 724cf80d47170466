# What the end-to-end scripts share (sourced; they set `work`, their own work folder):
#   fail MESSAGE                 names the failure, shows the tails of the run's logs, exits 1
#   wait_for_message LOG PREFIX  waits (60 s at most) until the simulator's write log LOG
#                                holds an on-screen message starting with PREFIX
#   now                          seconds since the epoch, as tick_times.py notes them

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
