# Shared by the end-to-end scripts under Wine (sourced, after "set -euo pipefail"):
#     source windows_e2e_run.sh WINDOWS_BUILD ROOT
# Sets `build` and `root`; exits 77 (skipped) without the Linux weather server
# (STRATOCUE_STANDIN_WX, default build/default/bin/standin-wx). Makes a work folder with
# the station files and the test weather, starts that server on it (its address in
# `weather`), and uses the Wine prefix in WINEPREFIX or makes one of its own. Every process
# started through scripts/lib/standins.sh is stopped at exit, the last started first, and
# the folder removed; a script may define `before_cleanup` to run before that.
build=$(cd "$1" && pwd)
root=$(cd "$2" && pwd)
standin_wx=${STRATOCUE_STANDIN_WX:-$root/build/default/bin/standin-wx}
# Without the Linux build's weather server the check cannot run: skipped (ctest shows it).
[[ -x $standin_wx ]] || { echo "SKIPPED: no weather server $standin_wx (build the Linux standin-wx)" >&2; exit 77; }

# shellcheck source=../../scripts/lib/wine-prefix.sh
source "$root/scripts/lib/wine-prefix.sh"
# shellcheck source=../../scripts/lib/standins.sh
source "$root/scripts/lib/standins.sh"
# shellcheck source=e2e_common.sh
source "$root/tests/e2e/e2e_common.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/stratocue-e2e-windows.XXXXXX")
program_pid=""
at_exit rm -rf "$work"
# shellcheck disable=SC2317  # run by the EXIT trap
windows_e2e_exit() {
  if [[ $(type -t before_cleanup) == function ]]; then before_cleanup || true; fi
  run_exit_steps
}
trap windows_e2e_exit EXIT

if [[ -z "${WINEPREFIX:-}" || ! -d "${WINEPREFIX}" ]]; then
  at_exit wine_prefix_remove
  wine_prefix_create
fi
# WinINet would take a proxy from these; the stand-in is on the loopback interface.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY

mkdir -p "$work/weather/fd"
cp "$root/data/demo/weather/fd/"* "$work/weather/fd/"
cp "$root/tests/data/e2e/metars.txt" "$work/weather/"
start_standin_wx "$standin_wx" "$work/wx" --data "$work/weather" --port 0 || fail "the weather server did not start"
# shellcheck disable=SC2034  # read by the scripts that source this file
weather=$wx_address

# The Windows programs run in the work folder and find their files there by name.
cp "$root/data/icao.txt" "$root/data/fdwinds.txt" "$work/"

# Starts the headless stratocue.exe in the work folder with a 500 ms tick, its ticks in
# ticks.jsonl; sets `program_pid`.
start_program_exe() {
  start_process --in "$work" "$work/ticks.jsonl" "$work/stratocue.err" \
    "$root/scripts/wine-run" "$build/bin/stratocue.exe" --headless --tick-ms 500
  program_pid=$started_pid
}

# Waits until the command given holds, for at most `bound` seconds or until the program ends.
wait_while_running_until() {
  local deadline=$((SECONDS + bound))
  until "$@" >/dev/null 2>&1; do
    if ((SECONDS >= deadline)) || ! kill -0 "$program_pid" 2>/dev/null; then return; fi
    sleep 0.5
  done
}

# Ctrl+C, as the user's signal: Wine hands it to the program as a console event, and the
# program must end through End Program by itself, with status 0, within a minute.
end_program_exe() {
  kill -INT "$program_pid" 2>/dev/null || true
  local deadline=$((SECONDS + 60)) status=0
  while kill -0 "$program_pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.1; done
  kill -0 "$program_pid" 2>/dev/null && fail "stratocue.exe did not end within 60 s of Ctrl+C"
  wait "$program_pid" || status=$?
  forget_process "$program_pid"
  program_pid=""
  ((status == 0)) || fail "stratocue.exe ended with status $status"
}
