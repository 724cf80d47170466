# Shared by the end-to-end scripts under Wine (sourced, after "set -euo pipefail"):
#     source windows_e2e_run.sh WINDOWS_BUILD ROOT
# Sets `build` and `root`; exits 77 (skipped) without the Linux weather server
# (STRATOCUE_STANDIN_WX, default build/default/bin/standin-wx). Makes a work folder with
# the station files and the test weather, starts that server on it (its address in
# `weather`), and uses the Wine prefix in WINEPREFIX or makes one of its own. Everything
# still running (wx_pid, sim_pid, program_pid) is stopped and the folder removed at exit;
# a script may define `before_cleanup` to run first.
build=$(cd "$1" && pwd)
root=$(cd "$2" && pwd)
standin_wx=${STRATOCUE_STANDIN_WX:-$root/build/default/bin/standin-wx}
# Without the Linux build's weather server the check cannot run: skipped (ctest shows it).
[[ -x $standin_wx ]] || { echo "SKIPPED: no weather server $standin_wx (build the Linux standin-wx)" >&2; exit 77; }

# shellcheck source=../../scripts/wine-prefix.sh
source "$root/scripts/wine-prefix.sh"
# shellcheck source=../../scripts/lib/wait_for_listening.sh
source "$root/scripts/lib/wait_for_listening.sh"
# shellcheck source=e2e_common.sh
source "$root/tests/e2e/e2e_common.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/stratocue-e2e-windows.XXXXXX")
wx_pid="" sim_pid="" program_pid="" own_prefix=0
windows_e2e_cleanup() {
  local pid
  if [[ $(type -t before_cleanup) == function ]]; then before_cleanup || true; fi
  for pid in "$program_pid" "$sim_pid" "$wx_pid"; do
    [[ -n $pid ]] && kill -TERM "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  if ((own_prefix)); then wine_prefix_remove; fi
  rm -rf "$work"
}
trap windows_e2e_cleanup EXIT

if [[ -z "${WINEPREFIX:-}" || ! -d "${WINEPREFIX}" ]]; then
  own_prefix=1
  wine_prefix_create
fi
# WinINet would take a proxy from these; the stand-in is on the loopback interface.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY

mkdir -p "$work/weather/fd"
cp "$root/data/demo/weather/fd/"* "$work/weather/fd/"
cp "$root/tests/data/e2e/metars.txt" "$work/weather/"
"$standin_wx" --data "$work/weather" --port 0 >"$work/wx.out" 2>"$work/wx.err" &
wx_pid=$!
weather=$(wait_for_listening "$work/wx.out") || fail "the weather server did not start"

# The Windows programs run in the work folder and find their files there by name.
cp "$root/data/icao.txt" "$root/data/fdwinds.txt" "$work/"
