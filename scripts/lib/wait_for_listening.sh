# Sourced by the scripts that start the stand-in servers.
#
# wait_for_listening FILE [SECONDS]
#   Waits until FILE, a server's standard output, holds its "listening on" line and prints
#   what follows "listening on " (the server's address or socket path). Fails, showing
#   FILE, when no such line has come within SECONDS (default 30).
wait_for_listening() {
  local file=$1 seconds=${2:-30}
  local deadline=$((SECONDS + seconds))
  while ((SECONDS < deadline)); do
    if grep -q "listening on" "$file" 2>/dev/null; then
      grep -m1 "listening on" "$file" | sed 's/.*listening on //'
      return 0
    fi
    sleep 0.1
  done
  echo "no 'listening on' line in $file within ${seconds} s:" >&2
  cat "$file" >&2 2>/dev/null || true
  return 1
}
