#!/usr/bin/env bash
# The helpers of scripts/lib, one behaviour per run:
#     scripts_lib_test.sh SOURCE_DIR CASE
# Each run works in a temporary folder of its own and fails with a message saying what
# differed.
set -euo pipefail
lib=$(cd "$1/scripts/lib" && pwd)
case_name=$2
folder=$(mktemp -d "${TMPDIR:-/tmp}/stratocue-scripts-lib.XXXXXX")
trap 'rm -rf "$folder"' EXIT

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# expect_file FILE TEXT: the file holds exactly TEXT (printf escapes allowed).
expect_file() {
  # shellcheck disable=SC2059  # TEXT is the format, escapes and all
  printf "$2" >"$folder/expected"
  cmp -s "$1" "$folder/expected" || fail "$1 holds:
$(sed -n l "$1")
expected:
$(sed -n l "$folder/expected")"
}

# A process that says "ready" once it listens for SIGTERM, and notes NAME in the file
# order when it gets it.
start_noting_process() {
  start_process "$folder/$1.out" "$folder/$1.out" bash -c \
    "trap 'echo $1 >>\"$folder/order\"; exit 0' TERM; echo ready; while :; do sleep 0.1; done"
  wait_for_line "$folder/$1.out" ready 60 "$started_pid" >/dev/null || fail "$1 did not start"
}

case $case_name in
  ServersTxtTodayKeys)
    "$lib/write-servers-txt" "$folder/servers.txt" http://127.0.0.1:8080 today
    expect_file "$folder/servers.txt" 'vatsim_api=http://127.0.0.1:8080\nawc_api=http://127.0.0.1:8080\n' ;;
  ServersTxtClassicKeysWithCrLf)
    "$lib/write-servers-txt" --crlf "$folder/servers.txt" http://h:1 classic
    expect_file "$folder/servers.txt" 'metar_nws=http://h:1\r\nmetar_vatsim=http://h:1\r\nfdwinds=http://h:1\r\n' ;;
  ServersTxtBothKeySets)
    "$lib/write-servers-txt" "$folder/servers.txt" http://h:1 today classic
    expect_file "$folder/servers.txt" \
      'vatsim_api=http://h:1\nawc_api=http://h:1\nmetar_nws=http://h:1\nmetar_vatsim=http://h:1\nfdwinds=http://h:1\n' ;;
  ServersTxtUnknownSourcesRefused)
    status=0
    "$lib/write-servers-txt" "$folder/servers.txt" http://h:1 today other 2>"$folder/err" || status=$?
    ((status == 2)) || fail "status $status, expected 2"
    grep -q "unknown sources 'other'" "$folder/err" || fail "message: $(cat "$folder/err")"
    [[ ! -e $folder/servers.txt ]] || fail "servers.txt written although the command line was bad" ;;
  WaitForLinePrintsTheFirstMatch)
    source "$lib/wait_for_line.sh"
    printf 'starting\nserving window class UIPCMAIN\nserving window class FS98MAIN\n' >"$folder/out"
    line=$(wait_for_line "$folder/out" "serving window class" 60)
    [[ $line == "serving window class UIPCMAIN" ]] || fail "printed '$line'" ;;
  WaitForListeningGivesTheAddress)
    source "$lib/wait_for_line.sh"
    echo "standin-wx: listening on http://127.0.0.1:41234" >"$folder/out"
    address=$(wait_for_listening "$folder/out")
    [[ $address == "http://127.0.0.1:41234" ]] || fail "printed '$address'" ;;
  WaitForLineGivesUpAfterItsBound)
    source "$lib/wait_for_line.sh"
    echo "starting" >"$folder/out"
    if wait_for_line "$folder/out" "listening on" 1 2>"$folder/err"; then fail "found a line that is not there"; fi
    grep -q "within 1 s" "$folder/err" || fail "message: $(cat "$folder/err")" ;;
  WaitForLineStopsWhenTheWriterEnds)
    source "$lib/wait_for_line.sh"
    echo "starting" >"$folder/out"
    true &
    writer=$!
    wait "$writer"
    if wait_for_line "$folder/out" "listening on" 600 "$writer" 2>"$folder/err"; then fail "found a line"; fi
    grep -q "process $writer ended" "$folder/err" || fail "message: $(cat "$folder/err")" ;;
  ProcessesStopLastStartedFirst)
    source "$lib/standins.sh"
    start_noting_process first
    start_noting_process second
    start_noting_process third
    stop_process "$started_pid"  # third, stopped by hand
    stop_started_processes
    expect_file "$folder/order" 'third\nsecond\nfirst\n' ;;
  ExitStepsRunAfterTheProcessesLastAddedFirst)
    # A script of its own, so that its exit runs the steps.
    bash -c "set -euo pipefail
      folder='$folder'
      source '$lib/standins.sh'
      $(declare -f start_noting_process fail)
      note() { echo \"\$1\" >>\"\$folder/order\"; }
      at_exit note 'step one'
      start_noting_process process
      at_exit note 'step two'"
    expect_file "$folder/order" 'process\nstep two\nstep one\n' ;;
  *)
    fail "unknown case '$case_name'" ;;
esac
echo "$case_name: passed"
