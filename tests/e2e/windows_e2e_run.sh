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
