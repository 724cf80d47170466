# shellcheck shell=bash
# Waiting for a line in a file, such as a server's "listening on" line in its standard
# output; sourced by the scripts that start servers.
#
# wait_for_line FILE PATTERN [SECONDS] [PID]
#   Prints the first line of FILE that matches the grep PATTERN once there is one. Fails,
#   showing FILE, when none has come within SECONDS (default 30), or at once when the
#   process PID (optional) has ended without writing it.
# wait_for_listening FILE [SECONDS]
#   Prints what follows "listening on " in FILE (a server's address or socket path).
wait_for_line() {
  local file=$1 pattern=$2 seconds=${3:-30} pid=${4:-}
  local deadline=$((SECONDS + seconds))
  while true; do
    if grep -q -- "$pattern" "$file" 2>/dev/null; then
      grep -m1 -- "$pattern" "$file"
      return 0
    fi
    if ((SECONDS >= deadline)); then
      echo "no line '$pattern' in $file within ${seconds} s:" >&2
      break
    fi
    if [[ -n $pid ]] && ! kill -0 "$pid" 2>/dev/null; then
      echo "no line '$pattern' in $file: process $pid ended:" >&2
      break
    fi
    sleep 0.1
  done
  cat "$file" >&2 2>/dev/null || true
  return 1
}

wait_for_listening() {
  local line
  line=$(wait_for_line "$1" "listening on" "${2:-30}") || return 1
  echo "${line#*listening on }"
}
