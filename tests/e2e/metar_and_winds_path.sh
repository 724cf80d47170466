#!/usr/bin/env bash
# End to end: standin-wx serves a report and the winds-aloft bulletins, standin-sim holds
# the aircraft at San Francisco and then climbs, and the headless program follows. The
# simulator's write log must show the report's weather and a winds-aloft level. The run
# lasts until the log and the program's tick lines show all of that (at most
# STRATOCUE_E2E_SECONDS, default 120), then the program gets SIGTERM, which ends it through
# End Program.
set -euo pipefail
source "$(dirname "$0")/e2e_run.sh" "$1" "$2"

start_weather
climb_until_weather_written
